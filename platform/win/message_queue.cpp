// message_queue.cpp: PostMessage, messages delivered later from the Qt event loop.
//
// Each posted message is one Qt event to a dispatcher object, so posted messages keep
// their order and also run inside nested loops (modal dialogs, message boxes), as a
// message queue does. A message whose window was destroyed before delivery is dropped.
// Needs a QCoreApplication; without one PostMessage fails.
#include <QCoreApplication>
#include <QEvent>

#include "handle.h"

namespace win::detail {
namespace {

const QEvent::Type kPostedMessage = static_cast<QEvent::Type>(QEvent::registerEventType());

class PostedMessage : public QEvent {
 public:
  PostedMessage(HWND h, std::uint64_t serial, UINT message, WPARAM wParam, LPARAM lParam)
      : QEvent(kPostedMessage), h_(h), serial_(serial), message_(message), wParam_(wParam), lParam_(lParam) {}
  void Deliver() const {
    if (AliveWithSerial(h_, serial_)) win::detail::Deliver(h_, message_, wParam_, lParam_);
  }

 private:
  HWND h_;
  std::uint64_t serial_;
  UINT message_;
  WPARAM wParam_;
  LPARAM lParam_;
};

class Dispatcher : public QObject {
 public:
  bool event(QEvent* e) override {
    if (e->type() != kPostedMessage) return QObject::event(e);
    BusyScope busy;
    static_cast<PostedMessage*>(e)->Deliver();
    return true;
  }
};

Dispatcher* TheDispatcher() {
  static Dispatcher* dispatcher = nullptr;
  if (!dispatcher && QCoreApplication::instance()) {
    dispatcher = new Dispatcher;
    dispatcher->setParent(QCoreApplication::instance());
    QObject::connect(QCoreApplication::instance(), &QObject::destroyed, [] { dispatcher = nullptr; });
  }
  return dispatcher;
}

}  // namespace
}  // namespace win::detail

BOOL PostMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  using namespace win::detail;
  Dispatcher* dispatcher = TheDispatcher();
  if (!dispatcher || !Alive(hWnd)) return FALSE;
  QCoreApplication::postEvent(dispatcher, new PostedMessage(hWnd, SerialOf(hWnd), message, wParam, lParam));
  return TRUE;
}
