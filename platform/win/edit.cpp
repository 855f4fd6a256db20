// edit.cpp: the "Edit" class (single-line over QLineEdit, multi-line over
// QPlainTextEdit) and CEdit.
//
// Keys: WM_KEYDOWN's default handling is the Qt editor's own for keys that do not type
// (arrows, Delete, Backspace, Ctrl+ shortcuts, Enter); typing keys type on WM_CHAR, so a
// handler of WM_CHAR can keep a character out. Multi-line text is exchanged with "\r\n".
// User edits send EN_CHANGE; text set from code does not.
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextCursor>

#include "controls.h"
#include "edit.h"
#include "resources.h"

namespace win::detail {
namespace {

bool IsTypedChar(WPARAM ch) { return ch >= 0x20 && ch != 0x7F && ch <= 0xFFFF; }

Qt::Alignment AlignmentOf(DWORD style) {
  if (style & ES_RIGHT) return Qt::AlignRight | Qt::AlignVCenter;
  if (style & ES_CENTER) return Qt::AlignHCenter | Qt::AlignVCenter;
  return Qt::AlignLeft | Qt::AlignVCenter;
}

bool HasBorder(DWORD style, DWORD exStyle) { return (style & WS_BORDER) || (exStyle & WS_EX_CLIENTEDGE); }

// Messages both editors answer alike; `Ops` adapts the editor.
template <class Ops>
LRESULT EditProc(HWND h, Ops& ops, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_KEYDOWN: {
      QKeyEvent* key = CurrentKeyEvent(h);
      if (key && IsTypingKey(key)) return 0;  // it types on WM_CHAR
      return CommonProc(h, message, wParam, lParam);
    }
    case WM_CHAR:
      if (IsTypedChar(wParam) && !ops.ReadOnly()) ops.Insert(QString(QChar(static_cast<char16_t>(wParam))));
      return 0;
    case WM_CONTEXTMENU:
      RunPendingDefault(h, WM_CONTEXTMENU);  // the editor's own menu
      return 0;
    case EM_SETSEL:
      ops.Select(static_cast<int>(static_cast<std::intptr_t>(wParam)), static_cast<int>(lParam));
      return 0;
    case EM_GETSEL: {
      auto [start, end] = ops.Selection();
      if (wParam) *reinterpret_cast<DWORD*>(wParam) = static_cast<DWORD>(start);
      if (lParam) *reinterpret_cast<DWORD*>(lParam) = static_cast<DWORD>(end);
      return MAKELONG(static_cast<WORD>(start), static_cast<WORD>(end));
    }
    case EM_SCROLLCARET:
      ops.ScrollToCaret();
      return TRUE;
    case EM_REPLACESEL:
      ops.Insert(ToQt(reinterpret_cast<LPCWSTR>(lParam)));
      return 0;
    case EM_SETREADONLY:
      if (wParam)
        h->style |= ES_READONLY;
      else
        h->style &= ~ES_READONLY;
      ops.SetReadOnly(wParam != 0);
      return TRUE;
    case EM_LIMITTEXT:
      ops.Limit(wParam ? static_cast<int>(wParam) : 32767);
      return 0;
    default:
      return CommonProc(h, message, wParam, lParam);
  }
}

class LineEdit : public Win<QLineEdit> {
 public:
  LineEdit(DWORD style, DWORD exStyle, QWidget* parent) : Win<QLineEdit>(parent) {
    setFrame(HasBorder(style, exStyle));
    connect(this, &QLineEdit::textEdited, [this] {
      if (handle) CommandParent(handle, EN_CHANGE);
    });
    ApplyStyle(style);
  }
  ~LineEdit() override { WidgetDestroyed(this); }
  LRESULT Proc(HWND h, UINT message, WPARAM wParam, LPARAM lParam) override {
    return EditProc(h, *this, message, wParam, lParam);
  }
  QString Text() const override { return text(); }
  void SetText(const QString& t) override { setText(t); }
  void StyleChanged() override { ApplyStyle(handle->style); }

  bool ReadOnly() const { return isReadOnly(); }
  void SetReadOnly(bool on) { setReadOnly(on); }
  // QLineEdit reports insert() as an edit (textEdited), as typing should be.
  void Insert(const QString& t) { insert(t); }
  void Limit(int n) { setMaxLength(n); }
  void ScrollToCaret() {}
  void Select(int start, int end) {
    if (start < 0) {
      deselect();
      return;
    }
    int length = static_cast<int>(text().size());
    if (end < 0 || end > length) end = length;
    setSelection(std::min(start, end), std::abs(end - start));
  }
  std::pair<int, int> Selection() const {
    if (!hasSelectedText()) return {cursorPosition(), cursorPosition()};
    return {selectionStart(), selectionEnd()};
  }

 private:
  void ApplyStyle(DWORD style) {
    setAlignment(AlignmentOf(style));
    setReadOnly(style & ES_READONLY);
  }
};

class TextEdit : public Win<QPlainTextEdit> {
 public:
  TextEdit(DWORD style, DWORD exStyle, QWidget* parent) : Win<QPlainTextEdit>(parent) {
    setFrameShape(HasBorder(style, exStyle) ? QFrame::StyledPanel : QFrame::NoFrame);
    setTabChangesFocus(true);
    connect(this, &QPlainTextEdit::textChanged, [this] {
      if (handle && !settingText_) CommandParent(handle, EN_CHANGE);
    });
    ApplyStyle(style);
  }
  ~TextEdit() override { WidgetDestroyed(this); }
  LRESULT Proc(HWND h, UINT message, WPARAM wParam, LPARAM lParam) override {
    return EditProc(h, *this, message, wParam, lParam);
  }
  QString Text() const override { return toPlainText().replace(QLatin1Char('\n'), QStringLiteral("\r\n")); }
  void SetText(const QString& t) override {
    settingText_ = true;
    setPlainText(QString(t).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    settingText_ = false;
  }
  void StyleChanged() override { ApplyStyle(handle->style); }

  bool ReadOnly() const { return isReadOnly(); }
  void SetReadOnly(bool on) { setReadOnly(on); }
  void Insert(const QString& t) { insertPlainText(t); }
  void Limit(int) {}
  void ScrollToCaret() { ensureCursorVisible(); }
  void Select(int start, int end) {
    QTextCursor cursor = textCursor();
    if (start < 0) {
      cursor.clearSelection();
    } else {
      int length = static_cast<int>(toPlainText().size());
      cursor.setPosition(std::min(start, length));
      cursor.setPosition(end < 0 || end > length ? length : end, QTextCursor::KeepAnchor);
    }
    setTextCursor(cursor);
  }
  std::pair<int, int> Selection() const {
    QTextCursor cursor = textCursor();
    return {cursor.selectionStart(), cursor.selectionEnd()};
  }

 private:
  void ApplyStyle(DWORD style) {
    setReadOnly(style & ES_READONLY);
    setVerticalScrollBarPolicy((style & WS_VSCROLL) ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy((style & WS_HSCROLL) ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    bool wrap = !(style & (WS_HSCROLL | ES_AUTOHSCROLL));
    setLineWrapMode(wrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    QTextOption option = document()->defaultTextOption();
    option.setAlignment(AlignmentOf(style) & Qt::AlignHorizontal_Mask);
    document()->setDefaultTextOption(option);
  }
  bool settingText_ = false;
};

}  // namespace

WindowImpl* MakeEdit(DWORD style, DWORD exStyle, QWidget* parent) {
  if (style & ES_MULTILINE) return new TextEdit(style, exStyle, parent);
  return new LineEdit(style, exStyle, parent);
}

}  // namespace win::detail

BOOL CEdit::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  return CreateEx(0, win::kEditClass, nullptr, style | WS_CHILD, rect, parent, id);
}
void CEdit::SetSel(int start, int end, BOOL noScroll) {
  SendMessage(EM_SETSEL, static_cast<WPARAM>(start), end);
  if (!noScroll) SendMessage(EM_SCROLLCARET);
}
void CEdit::GetSel(int& start, int& end) const {
  DWORD s = 0, e = 0;
  SendMessage(EM_GETSEL, reinterpret_cast<WPARAM>(&s), reinterpret_cast<LPARAM>(&e));
  start = static_cast<int>(s);
  end = static_cast<int>(e);
}
void CEdit::ReplaceSel(LPCWSTR text) { SendMessage(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text)); }
BOOL CEdit::SetReadOnly(BOOL readOnly) { return static_cast<BOOL>(SendMessage(EM_SETREADONLY, readOnly)); }
void CEdit::LimitText(int maxChars) { SendMessage(EM_LIMITTEXT, static_cast<WPARAM>(maxChars)); }
