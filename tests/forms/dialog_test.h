#pragma once
// The base of a dialog test class: the dialog fixture starts before each
// test with what the class asked for, and ends after it once AfterTest()
// has undone what the class set up.

#include "tests/common/dialog_fixture.h"

class TDialogTest : public TDialogFixture {
  Q_OBJECT

 protected:
  explicit TDialogTest(int needs) : needs_(needs) {}
  virtual void AfterTest() {}

 private slots:
  void init() { StartDialog(needs_); }
  void cleanup() {
    AfterTest();
    EndDialog();
  }

 private:
  int needs_;
};
