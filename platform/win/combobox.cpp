// combobox.cpp: the "ComboBox" class over QComboBox and CComboBox.
//
// CBS_DROPDOWN has an edit field, CBS_DROPDOWNLIST does not; CBS_SORT inserts added
// strings in case-blind order. A choice by the user sends CBN_SELCHANGE; typing in the
// edit field sends CBN_EDITCHANGE and leaves the box without a selection until the
// next choice. Item data is kept with each entry.
#include <QComboBox>
#include <QLineEdit>

#include "combobox.h"
#include "controls.h"
#include "resources.h"

namespace win::detail {
namespace {

constexpr int kDataRole = Qt::UserRole + 1;

class ComboWidget : public Win<QComboBox> {
 public:
  ComboWidget(DWORD style, QWidget* parent) : Win<QComboBox>(parent), sorted_(style & CBS_SORT) {
    DWORD type = style & 0x3u;
    if (type == CBS_DROPDOWN || type == CBS_SIMPLE) {
      setEditable(true);
      setInsertPolicy(QComboBox::NoInsert);
      connect(lineEdit(), &QLineEdit::textEdited, [this] {
        edited_ = true;
        if (handle) CommandParent(handle, CBN_EDITCHANGE);
      });
    }
    connect(this, qOverload<int>(&QComboBox::activated), [this] {
      edited_ = false;
      if (handle) CommandParent(handle, CBN_SELCHANGE);
    });
  }
  ~ComboWidget() override { WidgetDestroyed(this); }

  LRESULT Proc(HWND h, UINT message, WPARAM wParam, LPARAM lParam) override {
    int index = static_cast<int>(static_cast<std::intptr_t>(wParam));
    bool valid = index >= 0 && index < count();
    switch (message) {
      case CB_ADDSTRING: return Insert(-1, ToQt(reinterpret_cast<LPCWSTR>(lParam)));
      case CB_INSERTSTRING: return Insert(index < 0 ? count() : index, ToQt(reinterpret_cast<LPCWSTR>(lParam)));
      case CB_DELETESTRING:
        if (!valid) return CB_ERR;
        removeItem(index);
        return count();
      case CB_RESETCONTENT:
        clear();
        edited_ = false;
        return CB_OKAY;
      case CB_GETCOUNT: return count();
      case CB_GETCURSEL: return edited_ ? CB_ERR : currentIndex();
      case CB_SETCURSEL: {
        QSignalBlocker block(this);
        setCurrentIndex(valid ? index : -1);
        edited_ = false;
        return valid ? index : CB_ERR;
      }
      case CB_GETITEMDATA:
        return valid ? static_cast<LRESULT>(itemData(index, kDataRole).toULongLong()) : CB_ERR;
      case CB_SETITEMDATA:
        if (!valid) return CB_ERR;
        setItemData(index, QVariant::fromValue<qulonglong>(static_cast<qulonglong>(lParam)), kDataRole);
        return CB_OKAY;
      case CB_GETLBTEXT:
        return valid ? CopyOut(itemText(index), reinterpret_cast<LPWSTR>(lParam), itemText(index).size() + 1) : CB_ERR;
      case CB_GETLBTEXTLEN: return valid ? itemText(index).size() : CB_ERR;
      case CB_FINDSTRINGEXACT: return FindExact(index, ToQt(reinterpret_cast<LPCWSTR>(lParam)));
      default: return CommonProc(h, message, wParam, lParam);
    }
  }
  QString Text() const override { return currentText(); }
  void SetText(const QString& text) override {
    if (isEditable()) setEditText(text);
  }

 private:
  int Insert(int index, const QString& text) {
    if (index < 0) {
      index = count();
      if (sorted_)
        for (int i = 0; i < count(); ++i)
          if (QString::compare(text, itemText(i), Qt::CaseInsensitive) < 0) {
            index = i;
            break;
          }
    }
    if (index > count()) return CB_ERR;
    QSignalBlocker block(this);
    insertItem(index, text);
    setItemData(index, QVariant::fromValue<qulonglong>(0), kDataRole);
    // Windows leaves a new list without a selection; Qt selects the first entry.
    if (count() == 1 && !edited_) setCurrentIndex(-1);
    return index;
  }
  int FindExact(int startAfter, const QString& text) const {
    int n = count();
    for (int step = 1; step <= n; ++step) {
      int i = ((startAfter < 0 ? -1 : startAfter) + step) % n;
      if (QString::compare(itemText(i), text, Qt::CaseInsensitive) == 0) return i;
    }
    return CB_ERR;
  }

  bool sorted_;
  bool edited_ = false;
};

}  // namespace

WindowImpl* MakeComboBox(DWORD style, QWidget* parent) { return new ComboWidget(style, parent); }

}  // namespace win::detail

BOOL CComboBox::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  return CreateEx(0, win::kComboBoxClass, nullptr, style | WS_CHILD, rect, parent, id);
}
int CComboBox::AddString(LPCWSTR text) {
  return static_cast<int>(SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)));
}
int CComboBox::InsertString(int index, LPCWSTR text) {
  return static_cast<int>(SendMessage(CB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text)));
}
int CComboBox::DeleteString(UINT index) { return static_cast<int>(SendMessage(CB_DELETESTRING, index)); }
void CComboBox::ResetContent() { SendMessage(CB_RESETCONTENT); }
int CComboBox::GetCount() const { return static_cast<int>(SendMessage(CB_GETCOUNT)); }
int CComboBox::GetCurSel() const { return static_cast<int>(SendMessage(CB_GETCURSEL)); }
int CComboBox::SetCurSel(int index) { return static_cast<int>(SendMessage(CB_SETCURSEL, static_cast<WPARAM>(index))); }
DWORD_PTR CComboBox::GetItemData(int index) const {
  return static_cast<DWORD_PTR>(SendMessage(CB_GETITEMDATA, static_cast<WPARAM>(index)));
}
int CComboBox::SetItemData(int index, DWORD_PTR data) {
  return static_cast<int>(SendMessage(CB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(data)));
}
sys::Text CComboBox::GetLBText(int index) const {
  int length = GetLBTextLen(index);
  if (length < 0) return {};
  sys::Text text(static_cast<std::size_t>(length) + 1, u'\0');
  SendMessage(CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(length));
  return text;
}
int CComboBox::GetLBTextLen(int index) const {
  return static_cast<int>(SendMessage(CB_GETLBTEXTLEN, static_cast<WPARAM>(index)));
}
int CComboBox::FindStringExact(int startAfter, LPCWSTR text) const {
  return static_cast<int>(SendMessage(CB_FINDSTRINGEXACT, static_cast<WPARAM>(startAfter), reinterpret_cast<LPARAM>(text)));
}
