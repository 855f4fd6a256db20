// layout_check.cpp: the widget walk of TextMisfits.
#include "tools/screenshots/layout_check.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QRadioButton>
#include <QStyle>
#include <QWidget>

#include "platform/win/qt_bridge.h"

namespace {

// Room a header section, button or check box needs besides its text, in pixels
// (the style's margins plus the check indicator).
constexpr int kHeaderMargin = 8;
constexpr int kButtonMargin = 2;

std::string Describe(const char* kind, const QString& text, int have, int need) {
  return std::string(kind) + " '" + text.toStdString() + "': " + std::to_string(have) + " px for " +
         std::to_string(need) + " px of text";
}

void CheckHeader(const QHeaderView& header, std::vector<std::string>& out) {
  if (header.orientation() != Qt::Horizontal || !header.model()) return;
  for (int i = 0; i < header.count(); ++i) {
    const int have = header.sectionSize(i);
    if (have == 0 || header.isSectionHidden(i)) continue;
    const QString text = header.model()->headerData(i, Qt::Horizontal).toString();
    const int need = header.fontMetrics().horizontalAdvance(text) + kHeaderMargin;
    if (need > have) out.push_back(Describe("column", text, have, need));
  }
}

void CheckButton(const QAbstractButton& button, std::vector<std::string>& out) {
  if (button.text().isEmpty()) return;
  int need = button.fontMetrics().horizontalAdvance(button.text()) + kButtonMargin;
  if (qobject_cast<const QCheckBox*>(&button) || qobject_cast<const QRadioButton*>(&button))
    need += button.style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, &button) +
            button.style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, &button);
  if (need > button.width()) out.push_back(Describe("button", button.text(), button.width(), need));
}

void CheckLabel(const QLabel& label, std::vector<std::string>& out) {
  if (label.text().isEmpty() || label.wordWrap()) return;
  const int need = label.fontMetrics().horizontalAdvance(label.text());
  if (need > label.contentsRect().width()) out.push_back(Describe("label", label.text(), label.width(), need));
}

}  // namespace

std::vector<std::string> TextMisfits(HWND window) {
  std::vector<std::string> out;
  QWidget* widget = win::WidgetOf(window);
  if (!widget) return out;
  for (QWidget* child : widget->window()->findChildren<QWidget*>()) {
    if (!child->isVisible()) continue;
    if (auto* header = qobject_cast<QHeaderView*>(child)) CheckHeader(*header, out);
    if (auto* button = qobject_cast<QAbstractButton*>(child)) CheckButton(*button, out);
    if (auto* label = qobject_cast<QLabel*>(child)) CheckLabel(*label, out);
  }
  return out;
}
