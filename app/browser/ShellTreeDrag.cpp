// The shell folder tree's drag and drop: the drag image, the drop target under the pointer,
// scrolling and expanding while the pointer waits, and the shell's move or copy on the drop.
#include "app/browser/ShellTreeCtrl.h"

#include <vector>

namespace {

const UINT_PTR kDragTimer = 1;
const UINT kDragTimerMs = 300;
const DWORD kExpandAfterTicks = 3;

} // namespace

int CShellTreeCtrl::ItemDepth(HTREEITEM item) const
{
    int depth = 0;
    for (HTREEITEM h = GetParentItem(item); h; h = GetParentItem(h))
        ++depth;
    if (GetStyle() & TVS_LINESATROOT)
        ++depth;
    return depth;
}

void CShellTreeCtrl::OnBeginDrag(NMHDR* pNMHDR, LRESULT* pResult)
{
    const NMTREEVIEW* tv = reinterpret_cast<NMTREEVIEW*>(pNMHDR);
    *pResult = 0;
    const HTREEITEM item = tv->itemNew.hItem;
    SelectItem(item);
    if (!item || IsDragging() || IsDrive(item) || !m_bAllowDragDrop)
        return;
    HIMAGELIST image = (HIMAGELIST)SendMessage(TVM_CREATEDRAGIMAGE, 0, (LPARAM)item);
    if (!image)
        return;
    m_pDragImage = new CImageList;
    m_pDragImage->Attach(image);
    m_hDragItem = item;
    m_hDropTarget = nullptr;

    // The hot spot, measured from where the drag image starts: the item's icon.
    CRect rect;
    GetItemRect(item, &rect, FALSE);
    const int indent = (int)SendMessage(TVM_GETINDENT);
    const CPoint hot(tv->ptDrag.x - ItemDepth(item) * indent + GetScrollPos(SB_HORZ), tv->ptDrag.y - rect.top);
    ImageList_BeginDrag(image, 0, hot.x, hot.y);
    CPoint screen = tv->ptDrag;
    ClientToScreen(&screen);
    ImageList_DragEnter(nullptr, screen.x, screen.y);
    SetCapture();
    m_nDragTimer = SetTimer(kDragTimer, kDragTimerMs);
    m_nExpandTicks = 0;
}

BOOL CShellTreeCtrl::IsValidDropTarget(HTREEITEM target) const
{
    if (!target || !m_hDragItem || target == m_hDragItem || target == GetParentItem(m_hDragItem))
        return FALSE;
    for (HTREEITEM h = GetParentItem(target); h; h = GetParentItem(h))
        if (h == m_hDragItem)
            return FALSE; // inside the dragged folder
    const CString path = ItemToPath(target);
    return IsDrivePath(path) || IsFolderPath(path);
}

void CShellTreeCtrl::SetDragCursor(HTREEITEM target)
{
    const bool copy = ::GetKeyState(VK_CONTROL) < 0;
    if (IsValidDropTarget(target))
        ::SetCursor(copy ? m_hCopyCursor : m_hMoveCursor);
    else
        ::SetCursor(copy ? m_hNoCopyCursor : m_hNoMoveCursor);
}

void CShellTreeCtrl::OnMouseMove(UINT nFlags, CPoint point)
{
    if (!IsDragging()) {
        Default();
        return;
    }
    CPoint screen = point;
    ClientToScreen(&screen);
    ImageList_DragMove(screen.x, screen.y);
    CRect client;
    GetClientRect(&client);
    if (client.PtInRect(point)) {
        const HTREEITEM target = HitTest(point);
        if (target != m_hDropTarget) {
            ImageList_DragShowNolock(FALSE);
            SelectDropTarget(target);
            m_hDropTarget = target;
            ImageList_DragShowNolock(TRUE);
        }
    }
    SetDragCursor(m_hDropTarget);
}

void CShellTreeCtrl::OnLButtonUp(UINT nFlags, CPoint point)
{
    if (IsDragging()) {
        CRect client;
        GetClientRect(&client);
        EndDragging(!client.PtInRect(point));
    }
    Default();
}

void CShellTreeCtrl::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent != kDragTimer || !IsDragging()) {
        Default();
        return;
    }
    const HTREEITEM first = GetNextItem(nullptr, TVGN_FIRSTVISIBLE);
    if (first) {
        CRect row, client;
        GetItemRect(first, &row, FALSE);
        GetClientRect(&client);
        const int h = row.Height();
        CPoint pointer;
        ::GetCursorPos(&pointer);
        ScreenToClient(&pointer);
        HTREEITEM target = nullptr;
        if (pointer.y < client.top + 2 * h) {
            target = first;
            ImageList_DragShowNolock(FALSE);
            SendMessage(WM_VSCROLL, SB_LINEUP);
        } else if (pointer.y > client.bottom - 2 * h) {
            // The last item wholly in view before the scroll.
            target = first;
            const int visible = (int)SendMessage(TVM_GETVISIBLECOUNT);
            for (int i = 1; i < visible; ++i) {
                HTREEITEM next = GetNextItem(target, TVGN_NEXTVISIBLE);
                if (!next)
                    break;
                target = next;
            }
            ImageList_DragShowNolock(FALSE);
            SendMessage(WM_VSCROLL, SB_LINEDOWN);
        }
        if (target) {
            SelectDropTarget(target);
            m_hDropTarget = target;
            EnsureVisible(target);
            ImageList_DragShowNolock(TRUE);
        }
    }
    if (m_nExpandTicks >= kExpandAfterTicks) {
        m_nExpandTicks = 0;
        if (m_hDropTarget)
            Expand(m_hDropTarget, TVE_EXPAND);
    }
    if (m_hDropTarget && ItemHasChildren(m_hDropTarget) &&
        !(GetItemState(m_hDropTarget, TVIS_EXPANDED) & TVIS_EXPANDED))
        ++m_nExpandTicks;
}

HTREEITEM CShellTreeCtrl::CopyBranch(HTREEITEM item, HTREEITEM newParent)
{
    char text[MAX_PATH] = {};
    TVINSERTSTRUCT insert = {};
    insert.item.hItem = item;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_STATE | TVIF_PARAM | TVIF_CHILDREN;
    insert.item.stateMask = (UINT) ~(TVIS_SELECTED | TVIS_DROPHILITED);
    insert.item.pszText = text;
    insert.item.cchTextMax = sizeof text;
    if (!GetItem(&insert.item))
        return nullptr;
    insert.item.mask &= ~TVIF_HANDLE;
    insert.item.state &= ~(TVIS_SELECTED | TVIS_DROPHILITED);
    insert.hParent = newParent;
    insert.hInsertAfter = TVI_LAST;
    const HTREEITEM copy = InsertItem(&insert);
    if (!copy)
        return nullptr;
    for (HTREEITEM child = GetChildItem(item); child; child = GetNextSiblingItem(child))
        CopyBranch(child, copy);
    return copy;
}

void CShellTreeCtrl::EndDragging(BOOL cancel)
{
    if (!IsDragging())
        return;
    KillTimer(kDragTimer);
    m_nDragTimer = 0;
    ImageList_DragLeave(nullptr);
    ImageList_EndDrag();
    ::ReleaseCapture();
    delete m_pDragImage;
    m_pDragImage = nullptr;
    SelectDropTarget(nullptr);

    const HTREEITEM target = m_hDropTarget;
    const HTREEITEM dragged = m_hDragItem;
    const bool valid = IsValidDropTarget(target);
    m_hDropTarget = nullptr;
    m_hDragItem = nullptr;
    if (cancel || !valid)
        return;

    const bool copy = ::GetKeyState(VK_CONTROL) < 0;
    const CString targetPath = ItemToPath(target);
    std::vector<char> from = ShellPath(ItemToPath(dragged)), to = ShellPath(targetPath);
    SHFILEOPSTRUCT op = {};
    op.hwnd = m_hWnd;
    op.wFunc = copy ? FO_COPY : FO_MOVE;
    op.pFrom = from.data();
    op.pTo = to.data();
    op.fFlags = FOF_SILENT | FOF_NOCONFIRMMKDIR | (::GetKeyState(VK_SHIFT) < 0 ? 0 : FOF_ALLOWUNDO);
    if (RunFileOperation(op) != 0 || op.fAnyOperationsAborted)
        return;

    // A target never filled lists the dropped item from the disk when it first opens; a
    // copy of the branch now would stand there alone and hide the rest of the folder.
    const bool filled = GetChildItem(target) != nullptr || !ItemHasChildren(target);
    if (filled && !FindChildItem(target, GetItemText(dragged))) {
        CopyBranch(dragged, target);
        TVITEM children = {};
        children.hItem = target;
        children.mask = TVIF_CHILDREN;
        children.cChildren = 1;
        SetItem(&children);
    }
    if (!copy) {
        const HTREEITEM oldParent = GetParentItem(dragged);
        CTreeCtrl::DeleteItem(dragged);
        if (oldParent && !GetChildItem(oldParent)) {
            TVITEM children = {};
            children.hItem = oldParent;
            children.mask = TVIF_CHILDREN;
            children.cChildren = 0;
            SetItem(&children);
        }
    }
    SetSelectedPath(targetPath, GetChildItem(target) != nullptr);
}
