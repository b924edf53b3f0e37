#pragma once

#include <span>
#include <vector>

namespace kestrum {

// What a row of a tab page shows in its middle.
enum class RowKind {
  Heading,   // bold text over a group of rows
  Note,      // plain text over a group of rows
  TextBox,   // one-line text box
  Password,  // one-line text box that never shows its characters
  MultiLine, // text box of several lines
  HelpText,  // read-only text box with a fixed legend
  ComboBox,  // editable combo box with choices
  CheckBox,  // check box carrying its own caption
  Button,
  ListBox,
};

// A frame (group box) that rows can sit in; frames with a name of their own
// are switched on and off by their check box.
struct PageFrame {
  const char *control; // "LogFrame", or "DummyF" with an index
  int index;
  const char *caption;
};

struct PageRow {
  RowKind kind;
  const char *label;   // label on the left, caption of a check box or button, heading text
  const char *control; // control (array) name: "DummyT", "AliasAdd1", ...; null for texts
  int index = -1;      // index in the control array, -1 for a named control
  const char *hint = "";
  std::vector<const char *> choices = {}; // combo box list, or the lines of a help text
  const PageFrame *frame = nullptr;
  const char *tooltip = ""; // empty: made from label and hint

  PageRow in(const PageFrame &f) const {
    PageRow r = *this;
    r.frame = &f;
    return r;
  }
  PageRow tip(const char *text) const {
    PageRow r = *this;
    r.tooltip = text;
    return r;
  }
};

// The rows of one column, from top to bottom.
using PageColumn = std::vector<PageRow>;
// Columns side by side; a page is a stack of bands.
using PageBand = std::vector<PageColumn>;

struct PageDef {
  const char *caption; // tab caption
  const char *tooltip; // tab tooltip
  std::vector<PageBand> bands;
  // Tooltip of rows that have neither tooltip nor hint; %1 is the row's
  // label in lower case without its colon. Null: "Sets the %1."
  const char *rowTooltip = nullptr;
};

// The 19 tab pages of the main window, tab 1 first.
const std::vector<PageDef> &pageTable();

// Calls f(row) for every row of page (0-based), in layout order.
template <typename F> void forEachRow(const PageDef &page, F &&f) {
  for (const PageBand &band : page.bands)
    for (const PageColumn &column : band)
      for (const PageRow &row : column)
        f(row);
}

} // namespace kestrum
