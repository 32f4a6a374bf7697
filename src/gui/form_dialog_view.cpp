#include "gui/form_dialog_view.h"

#include <algorithm>
#include <vector>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "gui/dialog_colors.h"

namespace dalvex {

namespace {

// A grid field: numbered rows, captioned columns; Shift+Insert empties it and
// pastes the clipboard's text (one row a line).
class GridTable : public QTableWidget {
  public:
    GridTable(const FormField& field, QWidget* parent)
        : QTableWidget(field.rows, static_cast<int>(field.items.size()), parent) {
        QStringList captions;
        for (const std::string& caption : field.items)
            captions << QString::fromStdString(caption);
        setHorizontalHeaderLabels(captions);
        horizontalHeader()->setDefaultSectionSize(70);
        setMinimumSize(560, 260);
        SetValue(field.value);
    }

    void SetValue(const std::string& value) {
        clearContents();
        const auto cells = GridCells(value, rowCount(), columnCount());
        for (int r = 0; r < static_cast<int>(cells.size()); ++r)
            for (int c = 0; c < static_cast<int>(cells[r].size()); ++c)
                setItem(r, c, new QTableWidgetItem(QString::fromStdString(cells[r][c])));
    }

    std::string Value() const {
        std::vector<std::vector<std::string>> cells;
        int lastFilled = -1;
        for (int r = 0; r < rowCount(); ++r) {
            std::vector<std::string> row;
            for (int c = 0; c < columnCount(); ++c) {
                const QTableWidgetItem* cell = item(r, c);
                row.push_back(cell ? cell->text().trimmed().toStdString() : std::string());
                if (!row.back().empty())
                    lastFilled = r;
            }
            cells.push_back(std::move(row));
        }
        cells.resize(static_cast<std::size_t>(lastFilled + 1));
        return GridValue(cells);
    }

  protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_Insert && event->modifiers() == Qt::ShiftModifier) {
            SetValue(PasteGrid(QApplication::clipboard()->text().toStdString(), rowCount(),
                               columnCount()));
            return;
        }
        QTableWidget::keyPressEvent(event);
    }
};

}  // namespace

FormDialogView::FormDialogView(const FormDialog& form, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QString::fromStdString(form.caption));
    auto* outer = new QVBoxLayout(this);
    for (const FormGroup& group : form.groups) {
        auto* fieldsLayout = new QFormLayout;
        for (const FormField& field : group.fields)
            AddField(fieldsLayout, field);
        if (group.caption.empty()) {
            outer->addLayout(fieldsLayout);
        } else {
            auto* box = new QGroupBox(QString::fromStdString(group.caption), this);
            box->setLayout(fieldsLayout);
            outer->addWidget(box);
        }
    }
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    // Grouped buttons stand in framed columns side by side, one a line with
    // its note beside it; the others in the bottom row.
    auto* groupRow = new QHBoxLayout;
    std::vector<std::pair<std::string, QGridLayout*>> buttonGroups;
    bool haveDefault = false;
    for (const FormButton& button : form.buttons) {
        auto* push = new QPushButton(QString::fromStdString(button.text), this);
        push->setToolTip(QString::fromStdString(button.hint));
        push->setEnabled(button.enabled);
        // Enter confirms with the first button that is not a cancel.
        push->setAutoDefault(false);
        if (!haveDefault && button.answer != 0 && button.enabled && button.group.empty()) {
            push->setDefault(true);
            haveDefault = true;
        }
        const int answer = button.answer;
        connect(push, &QPushButton::clicked, this, [this, answer] {
            pressed_ = answer;
            if (answer != 0)
                accept();
            else
                reject();
        });
        if (button.group.empty()) {
            buttonRow->addWidget(push);
            continue;
        }
        auto found = std::find_if(buttonGroups.begin(), buttonGroups.end(),
                                  [&](const auto& g) { return g.first == button.group; });
        if (found == buttonGroups.end()) {
            auto* box = new QGroupBox(QString::fromStdString(button.group), this);
            auto* grid = new QGridLayout(box);
            grid->setAlignment(Qt::AlignTop);
            groupRow->addWidget(box, 0, Qt::AlignTop);
            buttonGroups.emplace_back(button.group, grid);
            found = buttonGroups.end() - 1;
        }
        // The choices read as a list: their texts (padded with blanks in
        // the program's captions) start at the left edge.
        push->setStyleSheet("text-align: left; padding: 2px 6px");
        QGridLayout* grid = found->second;
        const int line = grid->rowCount() == 1 && grid->count() == 0 ? 0 : grid->rowCount();
        grid->addWidget(push, line, 0);
        if (!button.note.empty()) {
            auto* note = new QLabel(QString::fromStdString(button.note), this);
            MarkExplanation(note);
            grid->addWidget(note, line, 1);
        }
    }
    if (!buttonGroups.empty())
        outer->addLayout(groupRow);
    // The bottom row of buttons is the dialog's lower panel.
    auto* lowerPanel = new QWidget(this);
    lowerPanel->setLayout(buttonRow);
    MarkLowerPanel(lowerPanel);
    outer->addWidget(lowerPanel);
    connect(this, &QDialog::rejected, this, [this] { pressed_ = 0; });
}

void FormDialogView::AddField(QFormLayout* layout, const FormField& field) {
    const QString label = QString::fromStdString(field.label);
    const QString value = QString::fromStdString(field.value);
    QWidget* widget = nullptr;
    switch (field.kind) {
        case FormFieldKind::Text: {
            auto* edit = new QLineEdit(value, this);
            // Long proposals show their beginning; the first field is
            // selected, so typing replaces its proposal.
            edit->setCursorPosition(0);
            if (fields_.empty())
                edit->selectAll();
            widget = edit;
            layout->addRow(label, widget);
            break;
        }
        case FormFieldKind::Check: {
            auto* check = new QCheckBox(label, this);
            check->setChecked(value.trimmed() == QLatin1String("1"));
            widget = check;
            layout->addRow(widget);
            break;
        }
        case FormFieldKind::Choice: {
            auto* list = new QComboBox(this);
            for (const std::string& item : field.items)
                list->addItem(QString::fromStdString(item));
            bool ok = false;
            const int chosen = value.trimmed().toInt(&ok);
            list->setCurrentIndex(ok && chosen < list->count() ? chosen : -1);
            widget = list;
            layout->addRow(label, widget);
            break;
        }
        case FormFieldKind::Grid: {
            widget = new GridTable(field, this);
            layout->addRow(new QLabel(label, this));
            layout->addRow(widget);
            break;
        }
    }
    widget->setToolTip(QString::fromStdString(field.hint));
    fields_.push_back(widget);
}

FormAnswer FormDialogView::Answer() const {
    FormAnswer answer;
    answer.button = pressed_;
    for (QWidget* widget : fields_) {
        QString text;
        if (auto* edit = qobject_cast<QLineEdit*>(widget))
            text = edit->text();
        else if (auto* check = qobject_cast<QCheckBox*>(widget))
            text = check->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
        else if (auto* list = qobject_cast<QComboBox*>(widget))
            text = QString::number(list->currentIndex());
        else if (auto* grid = dynamic_cast<GridTable*>(widget))
            text = QString::fromStdString(grid->Value());
        answer.values.push_back(text.toStdString());
    }
    return answer;
}

}  // namespace dalvex
