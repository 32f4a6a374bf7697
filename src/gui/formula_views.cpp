#include "gui/formula_views.h"

#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace dalvex {

namespace {

QString Text(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

QListWidget* ListOf(const std::vector<std::string>& items, const QString& hint) {
    auto* list = new QListWidget;
    for (const std::string& item : items)
        list->addItem(Text(item));
    list->setToolTip(hint);
    if (list->count() > 0)
        list->setCurrentRow(0);
    return list;
}

QWidget* Titled(const QString& title, QWidget* widget) {
    auto* box = new QWidget;
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(title));
    layout->addWidget(widget, 1);
    return box;
}

QPushButton* Button(const QString& text, const QString& hint = {}) {
    auto* button = new QPushButton(text);
    button->setAutoDefault(false);
    button->setToolTip(hint);
    return button;
}

std::vector<std::string> Labels(const std::vector<PadKey>& pad) {
    std::vector<std::string> labels;
    for (const PadKey& key : pad)
        labels.push_back(key.label);
    return labels;
}

}  // namespace

void TakeLine(const QLineEdit& edit, EditLine& line) {
    line.text = edit.text().toStdString();
    // Formula texts are Latin and Cyrillic: one UTF-16 unit a character.
    line.caret = static_cast<std::size_t>(edit.cursorPosition());
}

void ShowLine(const EditLine& line, QLineEdit& edit) {
    edit.setText(Text(line.text));
    edit.setCursorPosition(static_cast<int>(line.caret));
    edit.setFocus();
}

QGridLayout* PadGrid(const std::vector<std::string>& labels, QWidget* owner,
                     const std::function<void(int)>& press) {
    auto* grid = new QGridLayout;
    grid->setSpacing(2);
    for (std::size_t i = 0; i < labels.size(); ++i) {
        // "&" is a key of the pad, not a mnemonic.
        auto* button = Button(Text(labels[i]).replace('&', QStringLiteral("&&")));
        button->setFocusPolicy(Qt::NoFocus);  // the caret stays in the edit line
        button->setMinimumWidth(34);
        const int index = static_cast<int>(i);
        QObject::connect(button, &QPushButton::clicked, owner, [press, index] { press(index); });
        grid->addWidget(button, index / 6, index % 6);
    }
    return grid;
}

// ---------------------------------------------------------------------------
// Editors.

FormulaEditorView::FormulaEditorView(FormulaEditor& editor, QWidget* parent)
    : QDialog(parent), editor_(editor) {
    setWindowTitle(Text(editor.caption()));
    auto* group = new QGroupBox(Text(editor.groupCaption()));
    auto* body = new QVBoxLayout(group);

    if (editor.editorKind() == EditorKind::Model) {
        response_ = new QLineEdit(Text(editor.response()));
        response_->setToolTip(QStringLiteral("Имя зависимой переменной модели"));
        auto* row = new QHBoxLayout;
        row->addWidget(new QLabel(ResponseLabel));
        row->addWidget(response_, 1);
        row->addWidget(new QLabel(QStringLiteral("=")));
        body->addLayout(row);
    }
    line_ = new QLineEdit;
    line_->setMinimumWidth(480);
    body->addWidget(line_);
    ShowLine(editor.line(), *line_);

    variables_ = ListOf(editor.variables(), QStringLiteral("Список переменных"));
    functions_ = ListOf(editor.functions(), QStringLiteral("Список функций"));
    connect(variables_, &QListWidget::itemDoubleClicked, this,
            [this] { Apply([this] { editor_.InsertVariable(variables_->currentRow()); }); });
    connect(functions_, &QListWidget::itemDoubleClicked, this,
            [this] { Apply([this] { editor_.InsertFunction(functions_->currentRow()); }); });
    auto* lists = new QHBoxLayout;
    lists->addWidget(Titled(QStringLiteral("Переменные:"), variables_), 1);
    if (!editor.coefficients().empty()) {
        coefficients_ = ListOf(editor.coefficients(), QStringLiteral("Коэффициенты модели"));
        connect(coefficients_, &QListWidget::itemDoubleClicked, this, [this] {
            Apply([this] { editor_.InsertCoefficient(coefficients_->currentRow()); });
        });
        lists->addWidget(Titled(CoefficientsLabel, coefficients_));
    }
    lists->addWidget(Titled(QStringLiteral("Функции:"), functions_), 2);
    body->addLayout(lists, 1);

    auto* insertVariable = Button(QStringLiteral("Включить выделенную переменную"),
                                  QStringLiteral("Включить выделенную переменную в формулу"));
    auto* insertFunction = Button(QStringLiteral("Включить выделенную функцию"),
                                  QStringLiteral("Включить выделенную функцию в формулу"));
    connect(insertVariable, &QPushButton::clicked, this,
            [this] { Apply([this] { editor_.InsertVariable(variables_->currentRow()); }); });
    connect(insertFunction, &QPushButton::clicked, this,
            [this] { Apply([this] { editor_.InsertFunction(functions_->currentRow()); }); });
    auto* inserts = new QHBoxLayout;
    inserts->addWidget(insertVariable);
    inserts->addWidget(insertFunction);
    body->addLayout(inserts);
    body->addLayout(PadGrid(Labels(editor.pad()), this, [this](int i) { PressPad(i); }));

    auto* confirm = Button(QStringLiteral("Утвердить"));
    auto* cancel = Button(QStringLiteral("Отменить"));
    connect(confirm, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(confirm);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group, 1);
    layout->addLayout(buttons);
    resize(620, 460);
}

void FormulaEditorView::Apply(const std::function<void()>& action) {
    TakeLine(*line_, editor_.line());
    action();
    ShowLine(editor_.line(), *line_);
}

void FormulaEditorView::PressPad(int index) {
    Apply([this, index] { editor_.PressPad(index); });
}

void FormulaEditorView::accept() {
    TakeLine(*line_, editor_.line());
    if (response_)
        editor_.SetResponse(response_->text().toStdString());
    editor_.Confirm();
    QDialog::accept();
}

void FormulaEditorView::reject() {
    editor_.Cancel();
    QDialog::reject();
}

// ---------------------------------------------------------------------------
// The formula-set dialog.

FormulaSetView::FormulaSetView(Tqq10& dialog, QWidget* parent) : QDialog(parent), dialog_(dialog) {
    setWindowTitle(Text(dialog.caption()));
    auto* group = new QGroupBox(FormulaSetGroup);
    auto* grid = new QGridLayout(group);
    for (int i = 0; i < FormulaSetLines; ++i) {
        auto* radio = new QRadioButton(QStringLiteral("&%1=").arg(i + 1));
        auto* edit = new QLineEdit;
        edit->setMinimumWidth(440);
        connect(radio, &QRadioButton::clicked, this, [this, i] { Select(i); });
        // Clicking into a line selects it; a double click confirms it.
        edit->installEventFilter(this);
        connect(edit, &QLineEdit::cursorPositionChanged, this, [this, i] {
            if (!showing_)
                Select(i);
        });
        grid->addWidget(radio, i, 0);
        grid->addWidget(edit, i, 1);
        radios_.push_back(radio);
        lines_.push_back(edit);
    }

    auto* editor = Button(QStringLiteral("Редактор"), QStringLiteral("Редактировать формулу"));
    auto* confirm = Button(QStringLiteral("Утвердить"));
    auto* cancel = Button(QStringLiteral("Отменить"));
    auto* read = Button(QStringLiteral("Чтение формул из архива"));
    auto* write = Button(QStringLiteral("Запись формул в архив"));
    connect(editor, &QPushButton::clicked, this, &FormulaSetView::Edit);
    connect(confirm, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(read, &QPushButton::clicked, this, [this] {
        TakeLines();
        dialog_.ReadArchive();
        ShowLines();
    });
    connect(write, &QPushButton::clicked, this, [this] {
        TakeLines();
        dialog_.WriteArchive();
    });
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(editor);
    buttons->addStretch();
    buttons->addWidget(confirm);
    buttons->addWidget(cancel);
    auto* archives = new QHBoxLayout;
    archives->addWidget(read);
    archives->addWidget(write);
    archives->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group, 1);
    layout->addLayout(archives);
    layout->addLayout(buttons);
    ShowLines();
    Select(dialog.selected());
}

void FormulaSetView::Select(int index) {
    dialog_.Select(index);
    radios_[static_cast<std::size_t>(index)]->setChecked(true);
}

void FormulaSetView::TakeLines() {
    for (int i = 0; i < FormulaSetLines; ++i)
        dialog_.SetLine(i, lines_[static_cast<std::size_t>(i)]->text().toStdString());
}

void FormulaSetView::ShowLines() {
    showing_ = true;
    for (int i = 0; i < FormulaSetLines; ++i)
        lines_[static_cast<std::size_t>(i)]->setText(
            Text(dialog_.lines()[static_cast<std::size_t>(i)]));
    showing_ = false;
}

void FormulaSetView::Edit() {
    TakeLines();
    dialog_.Edit();
    ShowLines();
}

bool FormulaSetView::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonDblClick) {
        for (int i = 0; i < FormulaSetLines; ++i) {
            if (watched != lines_[static_cast<std::size_t>(i)])
                continue;
            TakeLines();
            dialog_.DoubleClick(i);
            QDialog::accept();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void FormulaSetView::accept() {
    TakeLines();
    dialog_.Confirm();
    QDialog::accept();
}

void FormulaSetView::reject() {
    dialog_.Cancel();
    QDialog::reject();
}

// ---------------------------------------------------------------------------
// The surface dialog.

SurfaceView::SurfaceView(Tqq14& dialog, QWidget* parent) : QDialog(parent), dialog_(dialog) {
    setWindowTitle(SurfaceCaption);
    formula_ = new QLineEdit;
    formula_->setToolTip(SurfaceFormulaHint);
    formula_->setMinimumWidth(420);
    auto* bounds = new QHBoxLayout;
    for (const char* label : Tqq14::FieldLabels()) {
        auto* edit = new QLineEdit;
        edit->setMaximumWidth(70);
        bounds->addWidget(new QLabel(label));
        bounds->addWidget(edit);
        fields_.push_back(edit);
    }
    fields_.back()->setToolTip(QStringLiteral("Число шагов сетки (целое, не меньше 2)"));
    bounds->addStretch();

    variables_ = ListOf(dialog.variables(), QStringLiteral("Переменные поверхности"));
    functions_ = ListOf(dialog.functions(), QStringLiteral("Список функций"));
    connect(variables_, &QListWidget::itemDoubleClicked, this,
            [this] { Apply([this] { dialog_.InsertVariable(variables_->currentRow()); }); });
    connect(functions_, &QListWidget::itemDoubleClicked, this,
            [this] { Apply([this] { dialog_.InsertFunction(functions_->currentRow()); }); });
    auto* lists = new QHBoxLayout;
    lists->addWidget(Titled(QStringLiteral("Переменные:"), variables_), 1);
    lists->addWidget(Titled(QStringLiteral("Функции:"), functions_), 2);

    auto* confirm = Button(QStringLiteral("Утвердить"));
    auto* cancel = Button(QStringLiteral("Отменить"));
    auto* read = Button(QStringLiteral("Чтение из архива"));
    auto* write = Button(QStringLiteral("Запись в архив"));
    connect(confirm, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(read, &QPushButton::clicked, this, [this] {
        Take();
        dialog_.ReadArchive();
        Show();
    });
    connect(write, &QPushButton::clicked, this, [this] {
        Take();
        dialog_.WriteArchive();
    });
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(read);
    buttons->addWidget(write);
    buttons->addStretch();
    buttons->addWidget(confirm);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Формула поверхности z=f(x,y):")));
    layout->addWidget(formula_);
    layout->addLayout(bounds);
    layout->addLayout(lists, 1);
    auto pad = Labels(dialog.pad());
    layout->addLayout(
        PadGrid(pad, this, [this](int i) { Apply([this, i] { dialog_.PressPad(i); }); }));
    layout->addLayout(buttons);
    Show();
    resize(560, 440);
}

void SurfaceView::Take() {
    TakeLine(*formula_, dialog_.formula());
    for (std::size_t k = 0; k < fields_.size(); ++k)
        dialog_.SetField(static_cast<int>(k), fields_[k]->text().toStdString());
}

void SurfaceView::Show() {
    ShowLine(dialog_.formula(), *formula_);
    for (std::size_t k = 0; k < fields_.size(); ++k)
        fields_[k]->setText(Text(dialog_.fields()[k]));
}

void SurfaceView::Apply(const std::function<void()>& action) {
    TakeLine(*formula_, dialog_.formula());
    action();
    ShowLine(dialog_.formula(), *formula_);
}

void SurfaceView::accept() {
    Take();
    dialog_.Confirm();
    // A refused surface stays open for mending.
    if (dialog_.closed())
        QDialog::accept();
}

void SurfaceView::reject() {
    dialog_.Cancel();
    QDialog::reject();
}

// ---------------------------------------------------------------------------

namespace {

// Catches F1 as it reaches the dialog (the edit lines and lists pass it on).
class HelpKey : public QObject {
  public:
    HelpKey(QDialog& dialog, std::function<void(int)> help, int context)
        : QObject(&dialog), help_(std::move(help)), context_(context) {
        dialog.installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress &&
            static_cast<QKeyEvent*>(event)->key() == Qt::Key_F1) {
            help_(context_);
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    std::function<void(int)> help_;
    int context_;
};

}  // namespace

void BindHelpKey(QDialog& dialog, const std::function<void(int)>& help, int context) {
    if (help)
        new HelpKey(dialog, help, context);
}

void RunFormulaDialog(FormulaDialog& dialog, QWidget* parent,
                      const std::function<void(int)>& help) {
    const auto run = [&](QDialog& view) {
        BindHelpKey(view, help, dialog.helpContext());
        view.exec();
    };
    if (auto* set = dynamic_cast<Tqq10*>(&dialog)) {
        FormulaSetView view(*set, parent);
        run(view);
    } else if (auto* editor = dynamic_cast<FormulaEditor*>(&dialog)) {
        FormulaEditorView view(*editor, parent);
        run(view);
    } else if (auto* surface = dynamic_cast<Tqq14*>(&dialog)) {
        SurfaceView view(*surface, parent);
        run(view);
    }
    if (!dialog.closed())
        dialog.Cancel();
}

}  // namespace dalvex
