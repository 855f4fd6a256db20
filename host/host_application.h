// host_application.h: the host's QApplication. Every event it dispatches — a click, a key,
// a menu command, a timer, a window message the window layer posts — runs inside one write
// group of the profile store, so what a module writes while handling it reaches the profile
// as one transaction; when the event loop is about to wait, what is pending is committed.
// It also gives Qt's own dialogs the system's Russian Qt translations.
//
// Assumes one application on the user-interface thread. Costs: two counter changes per
// event; one commit per event that wrote something.
#pragma once

#include <QApplication>

class ProfileStore;

class HostApplication : public QApplication {
 public:
  HostApplication(int& argc, char** argv);
  // The store whose writes are grouped; null for none (before the session starts and after
  // it ends).
  void SetProfile(ProfileStore* store) { profile_ = store; }
  bool notify(QObject* receiver, QEvent* event) override;

 private:
  ProfileStore* profile_ = nullptr;
};

// The running HostApplication, or null (tests run their own QApplication).
HostApplication* RunningHostApplication();
