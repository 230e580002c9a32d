#include "framework/ListView.h"

#include <vector>

namespace win {

namespace {

constexpr int kSwapTextLimit = 4096;

struct ItemSnapshot {
    LVITEMA Item = {};
    char Text[kSwapTextLimit] = {};
};

bool Read(const ListView& view, int index, ItemSnapshot& snapshot) {
    snapshot.Item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM | LVIF_STATE | LVIF_INDENT;
    snapshot.Item.iItem = index;
    snapshot.Item.stateMask = static_cast<UINT>(-1);
    snapshot.Item.pszText = snapshot.Text;
    snapshot.Item.cchTextMax = kSwapTextLimit;
    return SendMessageA(view.Handle(), LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&snapshot.Item)) != 0;
}

}  // namespace

bool ListView::SwapItems(int a, int b) const {
    ItemSnapshot first, second;
    if (!Read(*this, a, first) || !Read(*this, b, second)) return false;
    first.Item.iItem = b;
    second.Item.iItem = a;
    first.Item.pszText = first.Text;
    second.Item.pszText = second.Text;
    Send(LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&first.Item));
    Send(LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&second.Item));
    const int columns = HeaderItemCount();
    std::vector<char> textA(kSwapTextLimit), textB(kSwapTextLimit);
    for (int c = 1; c < columns; ++c) {
        ItemText(a, c, textA.data(), kSwapTextLimit);
        ItemText(b, c, textB.data(), kSwapTextLimit);
        SetItemText(a, c, textB.data());
        SetItemText(b, c, textA.data());
    }
    return true;
}

bool ListView::MoveSelectedUp() const {
    int item = FirstSelected();
    if (item <= 0) return false;
    return SwapItems(item, item - 1);
}

bool ListView::MoveSelectedDown() const {
    int item = FirstSelected();
    if (item < 0 || item >= ItemCount() - 1) return false;
    return SwapItems(item, item + 1);
}

}  // namespace win
