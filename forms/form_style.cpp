#include "forms/form_style.h"

#include "support/outer_size_fixer.h"

namespace form_style {

void CentreOnScreen(QWidget* window) { CentreOuterOnScreen(window); }

}  // namespace form_style
