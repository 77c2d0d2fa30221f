#pragma once
// The eye inside a password box: a checkable action that shows the password
// while checked and masks it otherwise, also by Ctrl+H while the box or its
// window has the focus.

#include <QAction>

class QLineEdit;

// Adds the action to the box's trailing edge and sets the box to match
// `shown`. The action is a child of the box.
QAction* AddRevealAction(QLineEdit* box, const char* name, bool shown);
