// The web design page: when it starts, it asks the design web service for its containers
// (those under parent "2" fill the combo box) and for one item's picture, which it paints.
// No window of the program opens it yet.
//
// The rules it keeps: while an exchange runs the page is disabled and its host refuses to
// close, since the exchange handles waiting messages between reads; after a failed exchange
// the page still opens, and the picture is asked for only when the service answered; a
// picture GDI+ cannot read is not kept; the page owns its picture and deletes it with itself.
#pragma once
#include "app/browser/ThumbListCtrl.h"
#include "ui/SkinButton.h"
#include "ui/SkinPanelDlg.h"

#include <memory>

namespace Gdiplus {
class Bitmap;
}

class CDesignModeDlg : public CSkinPanelDlg
{
public:
    CDesignModeDlg();
    ~CDesignModeDlg() override;

    int OnPanelBack() override;
    int OnPanelNext() override;
    BOOL OnPanelFinish() override { return TRUE; }

    bool IsExchanging() const { return m_bExchanging; }
    Gdiplus::Bitmap* GetFetchedImage() const { return m_pImage.get(); }
    int GetChosenNumber() const { return m_nChosen; }
    int GetChoiceCount() const { return m_nChoices; }

    CComboBox m_containers;   // 1105
    CSkinButton m_help;       // 1092
    CStatic m_title;          // 1188
    CThumbListCtrl m_designs; // 1194

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    void OnPaint();
    void OnHelpButton() {}
    LRESULT OnItemChosen(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    // The two calls of the page's start.
    void FetchFromService();
    // The picture from the bytes of a reply; null when GDI+ cannot read them.
    static Gdiplus::Bitmap* PictureFromBytes(const BYTE* bytes, int length);

    std::unique_ptr<Gdiplus::Bitmap> m_pImage;
    int m_nChosen = 0;
    int m_nChoices = 0;
    bool m_bExchanging = false;
};
