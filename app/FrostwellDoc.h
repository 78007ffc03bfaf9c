// The design document as far as start-up needs it: its construction loads the language
// texts and applies the display and unit settings.  File Open reaching the document does
// nothing.
#pragma once

#include "fw/fwwin.h"

class CFrostwellDoc : public CDocument
{
    DECLARE_DYNCREATE(CFrostwellDoc)
public:
    CFrostwellDoc();
    ~CFrostwellDoc() override;

protected:
    void OnFileOpen();
    DECLARE_MESSAGE_MAP()
};
