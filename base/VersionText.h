// Version texts of design files ("5.01", "7.8", "10.15", ...) compared part by part.
//
// A version text is not a decimal number: "10.15" is a later version than "10.3". Every
// reader that gates a value on the version of the file it reads compares through here.
#pragma once

// Negative, zero or positive as a is older than, the same as or newer than b. Each text is
// read as dot-separated whole numbers (major, minor, ...); a missing part counts as 0 and
// reading stops at the first character that is neither a digit nor a dot, so "" and junk
// read as version 0.
int CompareVersionText(const char* a, const char* b);

// True when text names minimum or a later version.
bool IsVersionAtLeast(const char* text, const char* minimum);
