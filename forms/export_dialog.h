#pragma once
// Asks which format the sites are exported in, and says plainly that the
// file will hold every password in clear text.

#include <QStringList>

// formats: the names shown; chosen: the index preselected, and on OK the one
// picked. Returns mrOk or mrCancel.
int ExecuteExport(const QStringList& formats, int& chosen);
