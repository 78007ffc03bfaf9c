#include "app/FrostwellDoc.h"

#include "app/base/Globals.h"
#include "app/base/KeyStore.h"
#include "app/base/TextTable.h"

IMPLEMENT_DYNCREATE(CFrostwellDoc, CDocument)

BEGIN_MESSAGE_MAP(CFrostwellDoc, CDocument)
    ON_COMMAND(ID_FILE_OPEN, &CFrostwellDoc::OnFileOpen)
END_MESSAGE_MAP()

CFrostwellDoc::CFrostwellDoc()
{
    FindJpegEncoder();
    LoadLanguageFile(GetSetting("language"));
    SetGlobalValueA(0);
    SetDisplayMode(GetSettingInt("display") != 0);
    SetMetric(GetSettingInt("metric") != 0);
}

CFrostwellDoc::~CFrostwellDoc()
{
}

void CFrostwellDoc::OnFileOpen()
{
}
