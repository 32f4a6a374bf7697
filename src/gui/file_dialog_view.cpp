#include "gui/file_dialog_view.h"

#include <QApplication>
#include <QComboBox>
#include <QDateTime>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyle>
#include <QTabBar>
#include <QTreeView>
#include <QVBoxLayout>

#include "core/text.h"

namespace dalvex {

namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

void Hint(QWidget* widget, const char* hint) {
    widget->setToolTip(QString::fromUtf8(hint));
    widget->setStatusTip(QString::fromUtf8(hint));
}

QPushButton* Button(const char* caption, const char* hint, QWidget* parent) {
    auto* button = new QPushButton(QString::fromUtf8(caption), parent);
    Hint(button, hint);
    // Enter belongs to the file list (a file at once), never to a button.
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

constexpr int ListRows = 14;
constexpr int TreeWidth = 220;

}  // namespace

FileDialogView::FileDialogView(TFMn& model, QWidget* parent) : QDialog(parent), model_(model) {
    setModal(true);
    setSizeGripEnabled(true);
    Build();
}

void FileDialogView::Build() {
    auto* top = new QVBoxLayout(this);

    drives_ = new QTabBar(this);
    drives_->setExpanding(false);
    drives_->setDocumentMode(true);
    Hint(drives_, "Выбор текущего дисковода/поверхности");
    top->addWidget(drives_);
    connect(drives_, &QTabBar::currentChanged, this, [this](int index) {
        if (filling_ || index < 0)
            return;
        model_.ChooseVolume(index);
        ShowFolder();
        ShowFiles();
    });

    auto* lists = new QHBoxLayout;
    folderModel_ = new QFileSystemModel(this);
    folderModel_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    folderModel_->setRootPath(QStringLiteral("/"));
    folders_ = new QTreeView(this);
    folders_->setModel(folderModel_);
    folders_->setHeaderHidden(true);
    for (int column = 1; column < folderModel_->columnCount(); ++column)
        folders_->hideColumn(column);
    folders_->setFixedWidth(TreeWidth);
    // The tree reads folders as it goes; the current one comes into view
    // once its parents are read.
    connect(folderModel_, &QFileSystemModel::directoryLoaded, this, [this] {
        if (folders_->isVisible())
            folders_->scrollTo(folders_->currentIndex());
    });
    connect(folders_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& index) { FolderChosen(index); });
    lists->addWidget(folders_);

    files_ = new QListWidget(this);
    files_->setUniformItemSizes(true);
    files_->setResizeMode(QListView::Adjust);
    files_->installEventFilter(this);
    files_->viewport()->installEventFilter(this);
    connect(files_, &QListWidget::currentRowChanged, this, &FileDialogView::FileClicked);
    connect(files_, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        model_.ActivateFile(files_->row(item));
        Finish();
    });
    lists->addWidget(files_);

    titles_ = new QListWidget(this);
    titles_->setUniformItemSizes(true);
    titles_->setMinimumWidth(fontMetrics().averageCharWidth() * 36);
    // The titles scroll and select together with the file names.
    connect(files_->verticalScrollBar(), &QScrollBar::valueChanged, titles_->verticalScrollBar(),
            &QScrollBar::setValue);
    connect(titles_->verticalScrollBar(), &QScrollBar::valueChanged, files_->verticalScrollBar(),
            &QScrollBar::setValue);
    connect(titles_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!filling_ && row >= 0)
            files_->setCurrentRow(row);
    });
    connect(titles_, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        model_.ActivateFile(titles_->row(item));
        Finish();
    });
    lists->addWidget(titles_, 1);
    lists->addStretch(0);  // keeps a narrow list at the left
    lists_ = lists;
    top->addLayout(lists, 1);

    auto* form = new QGridLayout;
    form->setColumnStretch(1, 1);
    auto* typeLabel = new QLabel(QStringLiteral("Тип файлов:"), this);
    types_ = new QComboBox(this);
    Hint(types_, "Тип файлов в оглавлении (выбор из выпадающего списка)");
    typeLabel->setBuddy(types_);
    form->addWidget(typeLabel, 0, 0);
    form->addWidget(types_, 0, 1, 1, 2);
    connect(types_, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (filling_)
            return;
        model_.ChooseType(index);
        ShowPanels();
        ShowFiles();
    });

    current_ = new QLabel(this);
    current_->setFrameShape(QFrame::StyledPanel);
    current_->setFrameShadow(QFrame::Sunken);
    current_->setMargin(3);
    current_->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    Hint(current_, "Имя текущего файла и дата его создания");
    form->addWidget(current_, 1, 0, 1, 3);

    commentLabel_ = new QLabel(QStringLiteral("Комментарий:"), this);
    comment_ = new QLineEdit(this);
    comment_->setMaxLength(MaxCellChars);
    Hint(comment_, "Комментарий, сопровождающий файл");
    commentLabel_->setBuddy(comment_);
    form->addWidget(commentLabel_, 2, 0);
    form->addWidget(comment_, 2, 1, 1, 2);
    connect(comment_, &QLineEdit::textEdited, this,
            [this](const QString& text) { model_.SetComment(text.toStdString()); });

    nameLabel_ = new QLabel(QStringLiteral("Имя файла:"), this);
    name_ = new QLineEdit(this);
    Hint(name_, "Имя файла записи");
    nameLabel_->setBuddy(name_);
    write_ = Button("Записать файл=", "Кнопка записи данных в указанный файл", this);
    form->addWidget(nameLabel_, 3, 0);
    form->addWidget(name_, 3, 1);
    form->addWidget(write_, 3, 2);
    connect(name_, &QLineEdit::textEdited, this,
            [this](const QString& text) { model_.SetName(text.toStdString()); });
    connect(name_, &QLineEdit::returnPressed, write_, &QPushButton::click);
    top->addLayout(form);

    auto* buttons = new QHBoxLayout;
    confirm_ = Button("Утвердить", "Утвердить и завершить выбор", this);
    cancel_ = Button("Отменить", "Отменить формулу и меню", this);
    tree_ = Button("Дерево папок", "Показать/убрать дерево папок", this);
    delete_ = Button(" Удалить", "Удалить текущий файл", this);
    menu_ = Button("Меню", "Показать/убрать дополнительное меню", this);
    for (QPushButton* button : {confirm_, cancel_, tree_, delete_, menu_})
        buttons->addWidget(button);
    buttons->addStretch(1);
    top->addLayout(buttons);
    for (QPushButton* button : {confirm_, write_}) {
        connect(button, &QPushButton::clicked, this, [this] {
            model_.Confirm();
            Finish();
        });
    }
    connect(cancel_, &QPushButton::clicked, this, &FileDialogView::reject);
    connect(tree_, &QPushButton::clicked, this, [this] {
        model_.ToggleTree();
        ShowFolder();
        ShowPanels();
        ShowFiles();
    });
    connect(delete_, &QPushButton::clicked, this, [this] {
        model_.Delete(files_->currentRow());
        ShowFiles();
    });
    connect(menu_, &QPushButton::clicked, this, [this] {
        model_.ToggleMenu();
        ShowPanels();
    });

    searchPanel_ = new QWidget(this);
    auto* search = new QHBoxLayout(searchPanel_);
    search->setContentsMargins(0, 0, 0, 0);
    search_ = Button("Поиск:", "Поиск файлов по контексту заголовка", searchPanel_);
    patterns_ = new QComboBox(searchPanel_);
    patterns_->setEditable(true);
    patterns_->setInsertPolicy(QComboBox::NoInsert);
    patterns_->setMaxVisibleItems(SearchPatternCount);
    Hint(patterns_, "Шаблоны поиска");
    comments_ = Button("Комментарии+", "Вкл/выкл рехима коментариев к списку файлов", searchPanel_);
    refresh_ = Button("Обновить", "Обновить базу данных по выборке", searchPanel_);
    search->addWidget(search_);
    search->addWidget(patterns_, 1);
    search->addWidget(comments_);
    search->addWidget(refresh_);
    top->addWidget(searchPanel_);
    connect(search_, &QPushButton::clicked, this, [this] {
        model_.Search(patterns_->currentText().toStdString());
        ShowPanels();
        ShowFiles();
    });
    connect(patterns_, &QComboBox::activated, this,
            [this](int index) { model_.ClickPattern(index); });
    connect(patterns_, &QComboBox::editTextChanged, this, [this](const QString& text) {
        if (filling_)
            return;
        const int at = patterns_->currentIndex();
        model_.ClickPattern(at);
        model_.EditPattern(text.toStdString());
        const QSignalBlocker block(patterns_);
        const int cursor = patterns_->lineEdit()->cursorPosition();
        patterns_->setItemText(at, text);
        patterns_->lineEdit()->setCursorPosition(cursor);
    });
    connect(comments_, &QPushButton::clicked, this, [this] {
        model_.ToggleComments();
        ShowPanels();
        ShowFiles();
    });
}

void FileDialogView::ShowModel() {
    filling_ = true;
    setWindowTitle(Q(model_.caption()));
    types_->clear();
    for (const FileFilter& filter : model_.filters())
        types_->addItem(Q(filter.description));
    types_->setCurrentIndex(model_.filterIndex());
    name_->setText(Q(model_.name()));
    comment_->setText(Q(model_.comment()));
    patterns_->clear();
    for (const std::string& pattern : model_.patterns())
        patterns_->addItem(Q(pattern));
    patterns_->setCurrentIndex(0);
    while (drives_->count() > 0)
        drives_->removeTab(0);
    for (const Volume& volume : model_.volumes()) {
        const QStyle::StandardPixmap icon =
            volume.kind == Volume::Kind::Network     ? QStyle::SP_DriveNetIcon
            : volume.kind == Volume::Kind::Removable ? QStyle::SP_DriveFDIcon
                                                     : QStyle::SP_DriveHDIcon;
        const int tab = drives_->addTab(style()->standardIcon(icon), Q(volume.caption));
        drives_->setTabToolTip(tab, Q(volume.path));
    }
    filling_ = false;
    ShowFolder();
    ShowPanels();
    ShowFiles();
    if (model_.writeControlsShown())
        name_->setFocus();
    else
        files_->setFocus();
}

void FileDialogView::ShowFolder() {
    filling_ = true;
    drives_->setCurrentIndex(model_.currentVolume());
    if (model_.treeShown()) {
        const QModelIndex index = folderModel_->index(Q(model_.folder()));
        folders_->setCurrentIndex(index);
        folders_->scrollTo(index);
    }
    filling_ = false;
}

void FileDialogView::ShowPanels() {
    const bool write = model_.writeControlsShown();
    nameLabel_->setVisible(write);
    name_->setVisible(write);
    write_->setVisible(write);
    menu_->setVisible(model_.menuShown());
    searchPanel_->setVisible(model_.menuShown() && model_.searchPanelShown());
    folders_->setVisible(model_.treeShown());
    drives_->setVisible(model_.treeShown());
    titles_->setVisible(model_.commentsMode());
    comments_->setText(Q(model_.commentsButtonCaption()));

    // The list's width and columns follow the model, scaled to this font: a
    // wide list of several bold columns, or one narrow column beside the
    // tree or the titles.
    const ListLayout layout = model_.listLayout();
    const double scale = std::max(1.0, fontMetrics().averageCharWidth() / 5.5);
    const int width = static_cast<int>(layout.width * scale);
    QFont font = files_->font();
    font.setBold(layout.bold);
    files_->setFont(font);
    rowHeight_ = QFontMetrics(font).height() + 4;
    files_->setFixedHeight(rowHeight_ * ListRows + 2 * files_->frameWidth());
    titles_->setFixedHeight(files_->height());
    folders_->setFixedHeight(files_->height());
    columns_ = layout.columns;
    files_->setFlow(QListView::TopToBottom);
    files_->setWrapping(columns_ > 1);
    if (columns_ > 1) {
        files_->setMinimumWidth(width);
        files_->setMaximumWidth(QWIDGETSIZE_MAX);
        lists_->setStretchFactor(files_, 1);
    } else {
        files_->setFixedWidth(std::max(width, fontMetrics().averageCharWidth() * 16));
        lists_->setStretchFactor(files_, 0);
    }
    SetColumnWidth();
    titles_->setGridSize(QSize(-1, rowHeight_));
    // The dialog fits what it shows now: as high as it needs, never
    // narrower while it is open (buttons that come and go do not make it jump).
    QDialog::layout()->activate();
    resize(isVisible() ? std::max(QDialog::width(), sizeHint().width()) : sizeHint().width(),
           sizeHint().height());
}

void FileDialogView::SetColumnWidth() {
    if (columns_ > 1)
        files_->setGridSize(QSize(files_->viewport()->width() / columns_, rowHeight_));
    else
        files_->setGridSize(QSize(-1, rowHeight_));
}

void FileDialogView::ShowFiles() {
    filling_ = true;
    files_->clear();
    titles_->clear();
    for (int i = 0; i < model_.fileCount(); ++i) {
        auto* item = new QListWidgetItem(Q(model_.file(i).shown), files_);
        item->setToolTip(Q(model_.file(i).name));
    }
    if (model_.commentsMode())
        for (int i = 0; i < model_.fileCount(); ++i)
            titles_->addItem(Q(model_.Title(i)));
    files_->setCurrentRow(model_.selected());
    titles_->setCurrentRow(model_.selected());
    filling_ = false;
    ShowCurrentFile();
}

void FileDialogView::ShowCurrentFile() {
    QString text = QStringLiteral("Текущий файл=");
    if (const FileEntry* file = model_.currentFile()) {
        const QDate date = QDateTime::fromSecsSinceEpoch(file->modified).date();
        text += QStringLiteral(" %1   %2")
                    .arg(Q(file->name), QLocale().toString(date, QLocale::ShortFormat));
    }
    current_->setText(text);
}

void FileDialogView::FileClicked(int row) {
    if (filling_ || row < 0)
        return;
    model_.ClickFile(row);
    filling_ = true;
    name_->setText(Q(model_.name()));
    comment_->setText(Q(model_.comment()));
    titles_->setCurrentRow(row);
    filling_ = false;
    ShowCurrentFile();
}

void FileDialogView::FolderChosen(const QModelIndex& index) {
    if (filling_ || !index.isValid())
        return;
    if (!model_.ChangeFolder(folderModel_->filePath(index).toStdString()))
        return;
    filling_ = true;
    drives_->setCurrentIndex(model_.currentVolume());
    filling_ = false;
    ShowFiles();
}

void FileDialogView::Finish() {
    if (!model_.closed())
        return;
    done(model_.answer() == 1 ? QDialog::Accepted : QDialog::Rejected);
}

void FileDialogView::reject() {
    if (!model_.closed())
        model_.Cancel();
    QDialog::reject();
}

void FileDialogView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1 && help_) {
        help_(model_.helpContext());
        return;
    }
    QDialog::keyPressEvent(event);
}

bool FileDialogView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == files_->viewport() && event->type() == QEvent::Resize)
        SetColumnWidth();
    if (watched == files_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        model_.Delete(files_->currentRow());
        ShowFiles();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace dalvex
