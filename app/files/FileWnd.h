// The file and folder browser pane the document embeds.  Nothing here yet: the
// document only keeps one for the panels that will browse with it.
#pragma once
#include "fw/fw.h"

class CFrostwellDoc;

class CFileWnd : public CObject
{
public:
    explicit CFileWnd(CFrostwellDoc* doc) : m_pDoc(doc) {}

private:
    CFrostwellDoc* m_pDoc;
};
