// A structural check of a compound file held in memory, made before the platform's
// storage code is let loose on it.  That code trusts the file: a sector chain that loops
// back on itself makes it walk forever, a directory tree with a cycle makes it recurse
// until the stack is gone.  A file that passes here has sector tables that cover their
// sectors, chains that end, are not shared and are long enough for the sizes they carry,
// and a directory tree that is a tree.
#pragma once

#include <windows.h>
#include <stddef.h>

// Largest design file opened (bytes).
const size_t kMaxCompoundFileBytes = 512u * 1024u * 1024u;

// True when the bytes hold a well-formed compound file.  `why`, when given, receives a
// short reason for a refusal (for tests and the fuzz report).
bool CheckCompoundFile(const BYTE* data, size_t size, const char** why = NULL);
