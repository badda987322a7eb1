#pragma once

// When the environment variable RKEDIT_TEST_EVENTS names a file, the editor reports what it
// shows to a program that drives it from outside (the user-journey tests), so that program
// waits for what it needs instead of guessing a time. One UTF-8 line per event is appended
// and written through at once:
//   window TITLE           a stage window was shown
//   paint TITLE @ X Y W H  a stage view of the window TITLE has painted and its picture has
//                          gone to the screen; the view lies at X, Y on the screen, W x H
//   control TITLE NAME X Y a shown dialog's button named NAME ("c1054") has its centre at
//                          X, Y on the screen
//   dialog TITLE | TEXT    a dialog or message box was shown (a message box's text, its
//                          lines joined by " / ")
//   menu TITLE             a menu was opened (TITLE as on the menu bar, "&" included)
//   title TITLE            the main window's title changed
//   status TEXT            the status bar shows a message
// TITLE is the title as shown ("*" for unsaved edits). Without the variable nothing is
// installed and nothing costs anything.
void installTestEventReporter();
