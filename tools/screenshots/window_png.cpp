// window_png.cpp: the render-and-save of SaveWindowPng.
#include "tools/screenshots/window_png.h"

#include <QApplication>
#include <QFontMetrics>
#include <QIcon>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QWidget>

#include "platform/win/qt_bridge.h"

namespace {

constexpr int kCaptionPadding = 4;  // pixels around the caption's icon and text

// The client image with a caption strip drawn above it.
QImage WithCaption(const QWidget& top, const QPixmap& client) {
  const QFontMetrics metrics(top.font());
  const int icon = metrics.height();
  const int strip = icon + 2 * kCaptionPadding;
  QImage image(client.width(), client.height() + strip, QImage::Format_RGB32);
  image.fill(QColor(0xdd, 0xe3, 0xea));
  QPainter painter(&image);
  int x = kCaptionPadding;
  if (!top.windowIcon().isNull()) {
    painter.drawPixmap(x, kCaptionPadding, top.windowIcon().pixmap(icon, icon));
    x += icon + kCaptionPadding;
  }
  painter.setFont(top.font());
  painter.setPen(QColor(0x20, 0x20, 0x20));
  painter.drawText(QRect(x, 0, image.width() - x - kCaptionPadding, strip), Qt::AlignVCenter | Qt::AlignLeft,
                   metrics.elidedText(top.windowTitle(), Qt::ElideRight, image.width() - x - kCaptionPadding));
  painter.setPen(QColor(0xa0, 0xa8, 0xb0));
  painter.drawLine(0, strip - 1, image.width(), strip - 1);
  painter.drawPixmap(0, strip, client);
  return image;
}

}  // namespace

std::string SaveWindowPng(HWND window, const std::string& path) {
  QWidget* widget = win::WidgetOf(window);
  if (!widget) return "no window to render for " + path;
  QWidget* top = widget->window();
  QApplication::processEvents();
  const QImage image = WithCaption(*top, top->grab());
  if (!image.save(QString::fromStdString(path), "PNG", 0)) return "cannot write " + path;
  return {};
}
