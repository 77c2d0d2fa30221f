#pragma once
// The commonest data table of the window and dialog tests: two rows that
// differ in one flag.

#include <QTest>

// Adds the bool column and its two rows, the first with firstValue.
inline void AddFlagRows(const char* column, const char* first, bool firstValue,
                        const char* second) {
  QTest::addColumn<bool>(column);
  QTest::newRow(first) << firstValue;
  QTest::newRow(second) << !firstValue;
}
