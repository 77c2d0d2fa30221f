#include "forms/import_layout.h"

namespace {

// The controls' bounds at the dialog's first client size, 625 x 354.
constexpr int kListLeft = 16;
constexpr int kListTop = 32;
constexpr int kListBottomMargin = 354 - (32 + 265);
constexpr int kLabelTop = 16;
constexpr int kLabelWidth = 79;
constexpr int kLabelHeight = 13;
constexpr int kPanelWidth = 120;
constexpr int kPanelHeight = 121;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;
constexpr int kOkRightMargin = 625 - 448;
constexpr int kCancelRightMargin = 625 - 536;
constexpr int kButtonBottomMargin = 354 - 312;
constexpr int kNoteGap = 8;

}  // namespace

TImportLayout ImportLayout(QSize client) {
  TImportLayout layout;
  // Lists follow their top and bottom anchors.
  const int listHeight = client.height() - kListTop - kListBottomMargin;
  // C++ division truncates toward zero, as the layout rule asks.
  const int listWidth = (client.width() - kPanelWidth - 2 * kListLeft) / 2;
  int x = kListLeft + listWidth;
  const int panelTop = listHeight / 2 + kListTop - kPanelHeight / 2;
  layout.fromList = QRect(kListLeft, kListTop, listWidth, listHeight);
  layout.panel = QRect(x, panelTop, kPanelWidth, kPanelHeight);
  x += kPanelWidth;
  layout.copyList = QRect(x, kListTop, listWidth, listHeight);
  layout.copyLabel = QRect(x, kLabelTop, kLabelWidth, kLabelHeight);
  const int buttonTop = client.height() - kButtonBottomMargin;
  layout.ok = QRect(client.width() - kOkRightMargin, buttonTop, kButtonWidth, kButtonHeight);
  layout.cancel =
      QRect(client.width() - kCancelRightMargin, buttonTop, kButtonWidth, kButtonHeight);
  layout.note = QRect(kListLeft, buttonTop, layout.ok.left() - kListLeft - kNoteGap, kButtonHeight);
  return layout;
}
