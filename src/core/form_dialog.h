// A method dialog described as data: a caption, groups of labelled fields and
// numbered buttons. One generic view shows every such form; computations and
// tests never see a window. The answer is the number of the button pressed
// (0 when the form was closed or cancelled) and the texts of all fields.
#pragma once

#include <string>
#include <vector>

namespace dalvex {

struct Workspace;

enum class FormFieldKind {
    Text,    // an edit line; the value is its text
    Check,   // a check box; the value is "1" (ticked) or "0"
    Choice,  // a drop-down list; the value is the chosen item's index, "-1" for none
    // A table of texts with numbered rows; `items` are the column captions.
    // The value holds its rows, one a line (or separated by ";" where a line
    // cannot break), cells separated by tabs (or, failing that, blanks).
    Grid,
};

struct FormField {
    std::string label;  // "Число интервалов="
    std::string value;  // the initial text, replaced by remembered inputs
    std::string hint;   // shown when the pointer rests on the field
    FormFieldKind kind = FormFieldKind::Text;
    std::vector<std::string> items;  // the list of a Choice field, the columns of a Grid
    int rows = 0;                    // the rows of a Grid
};

struct FormGroup {
    std::string caption;  // may be empty: the fields then stand without a frame
    std::vector<FormField> fields;
};

struct FormButton {
    std::string text;
    int answer = 0;  // what the form answers when it is pressed; 0 cancels
    std::string hint;
    // A choice among many: the framed group the button stands in, one
    // button a line with its note beside it. Without a group the button
    // stands in the bottom row.
    std::string group;
    std::string note;
};

struct FormAnswer {
    int button = 0;
    std::vector<std::string> values;  // one per field, in form order
};

struct FormDialog {
    std::string caption;
    std::vector<FormGroup> groups;
    std::vector<FormButton> buttons;
    // The file in the program folder that keeps the last inputs, one value a
    // line in field order ("q251.ini"); empty when the form remembers nothing.
    std::string memoryFile;

    // Building a form reads like its layout: groups, then their fields.
    // A field added before any group opens a group without a caption.
    FormDialog& Group(std::string groupCaption);
    FormDialog& Field(std::string label, std::string value, std::string hint = {});
    FormDialog& Check(std::string label, bool ticked, std::string hint = {});
    FormDialog& Choice(std::string label, std::vector<std::string> items, int chosen,
                       std::string hint = {});
    FormDialog& Grid(std::string label, std::vector<std::string> columns, int rows,
                     std::string value, std::string hint = {});
    FormDialog& Button(std::string text, int answer, std::string hint = {});
    FormDialog& GroupButton(std::string groupCaption, std::string text, int answer,
                            std::string note = {});
    FormDialog& RememberIn(std::string fileName);

    int FieldCount() const;
    // The field with the given form-order index (0-based), across groups.
    FormField& FieldAt(int index);
    const FormField& FieldAt(int index) const;
    // The initial texts of all fields, in form order.
    std::vector<std::string> Values() const;
    // Replaces the initial texts in form order; extra values are ignored and
    // missing ones leave their fields as they are.
    void SetValues(const std::vector<std::string>& values);
};

// The cells of a Grid field's value, row by row, at most `rows` rows of at
// most `columns` cells; an empty cell stays an empty text.
std::vector<std::vector<std::string>> GridCells(const std::string& value, int rows, int columns);
// A grid value from clipboard text: one row a line, cells separated by a tab
// or, failing that, by blanks; held to `rows` x `columns`.
std::string PasteGrid(const std::string& clipboard, int rows, int columns);
// The grid value of these cells (rows by lines, cells by tabs).
std::string GridValue(const std::vector<std::vector<std::string>>& cells);

// Shows the form through the workspace's dialogs and leaves the button's
// number in LastAnswer. A form with a memory file first takes its fields from
// that file (a missing or unreadable file only beeps and the initial texts
// stay) and writes the answered texts back when a button other than cancel
// was pressed.
FormAnswer ShowForm(Workspace& ws, FormDialog form);

}  // namespace dalvex
