#include "gui/calculator_view.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/formula_views.h"

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

}  // namespace

CalculatorView::CalculatorView(Tqclc& calculator, int column, int row, QWidget* parent)
    : QDialog(parent), calc_(calculator), column_(column), row_(row) {
    setWindowTitle(CalculatorCaption);
    expressions_ = new QComboBox;
    expressions_->setEditable(true);
    expressions_->setInsertPolicy(QComboBox::NoInsert);
    expressions_->setToolTip(QStringLiteral("Вычисляемое выражение"));
    expressions_->setMinimumWidth(420);
    for (const std::string& slot : calc_.expressionSlots())
        expressions_->addItem(Text(slot));
    expressions_->setCurrentIndex(calc_.currentSlot());
    Show();
    connect(expressions_, &QComboBox::activated, this, [this](int index) {
        calc_.ChooseSlot(index);
        Show();
    });
    connect(expressions_->lineEdit(), &QLineEdit::textEdited, this, [this] { Take(); });
    connect(expressions_->lineEdit(), &QLineEdit::returnPressed, this, &CalculatorView::Compute);

    result_ = new QLineEdit;
    result_->setReadOnly(true);
    auto* resultBox = new QGroupBox(QStringLiteral("Результат:"));
    auto* resultLayout = new QHBoxLayout(resultBox);
    resultLayout->addWidget(result_);
    auto* compute = new QPushButton(QStringLiteral("Вычислить"));
    compute->setAutoDefault(false);
    connect(compute, &QPushButton::clicked, this, &CalculatorView::Compute);
    resultLayout->addWidget(compute);

    variables_ =
        ListOf(calc_.variables(), QStringLiteral("Список формальных переменные, не включенных"));
    functions_ = ListOf(calc_.functions(), QStringLiteral("Список функций"));
    auto insertVariable = [this] {
        Take();
        calc_.InsertVariable(variables_->currentRow());
        Show();
    };
    auto insertFunction = [this] {
        Take();
        calc_.InsertFunction(functions_->currentRow());
        Show();
    };
    connect(variables_, &QListWidget::itemDoubleClicked, this, insertVariable);
    connect(functions_, &QListWidget::itemDoubleClicked, this, insertFunction);
    auto* withVariable =
        new QPushButton(QStringLiteral("Включить выделенную переменную в выражение"));
    auto* withFunction = new QPushButton(QStringLiteral("Включить выделенную функцию в анализ"));
    withVariable->setAutoDefault(false);
    withFunction->setAutoDefault(false);
    connect(withVariable, &QPushButton::clicked, this, insertVariable);
    connect(withFunction, &QPushButton::clicked, this, insertFunction);

    auto* lists = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    left->addWidget(variables_, 1);
    left->addWidget(withVariable);
    auto* right = new QVBoxLayout;
    right->addWidget(functions_, 1);
    right->addWidget(withFunction);
    lists->addLayout(left, 1);
    lists->addLayout(right, 2);

    auto* cancel = new QPushButton(QStringLiteral("Отменить"));
    cancel->setAutoDefault(false);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* bottom = new QHBoxLayout;
    bottom->addLayout(PadGrid(calc_.pad(), this, [this](int i) { PressPad(i); }));
    bottom->addStretch();
    bottom->addWidget(cancel, 0, Qt::AlignBottom);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(
        new QLabel(QStringLiteral("Текущая ячейка: i=%1, j=%2").arg(column).arg(row)));
    layout->addWidget(expressions_);
    layout->addWidget(resultBox);
    layout->addLayout(lists, 1);
    layout->addLayout(bottom);
    resize(600, 480);
}

void CalculatorView::Take() {
    QLineEdit* edit = expressions_->lineEdit();
    calc_.SetExpression(edit->text().toStdString(),
                        static_cast<std::size_t>(edit->cursorPosition()));
    expressions_->setItemText(calc_.currentSlot(), edit->text());
}

void CalculatorView::Show() {
    QLineEdit* edit = expressions_->lineEdit();
    expressions_->setItemText(calc_.currentSlot(), Text(calc_.expression().text));
    edit->setText(Text(calc_.expression().text));
    edit->setCursorPosition(static_cast<int>(calc_.expression().caret));
    edit->setFocus();
}

void CalculatorView::PressPad(int index) {
    QLineEdit* edit = expressions_->lineEdit();
    calc_.SetCaret(static_cast<std::size_t>(edit->cursorPosition()));
    Take();
    calc_.PressPad(index);
    Show();
}

void CalculatorView::Compute() {
    Take();
    if (calc_.Compute(column_, row_))
        result_->setText(Text(calc_.result()));
}

void CalculatorView::done(int result) {
    calc_.Close();
    QDialog::done(result);
}

}  // namespace dalvex
