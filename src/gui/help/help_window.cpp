#include "gui/help/help_window.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSplitter>
#include <QStyle>
#include <QTabWidget>
#include <QTextBrowser>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>
#include <QtGlobal>

#include "core/text.h"

// The pages are compiled into this static library; nothing else refers to
// them, so they are registered by hand (this must happen outside a namespace).
static void RegisterHelpPages() {
    static const bool registered = [] {
        Q_INIT_RESOURCE(dalvex_help);
        return true;
    }();
    (void)registered;
}

namespace dalvex {

namespace {

constexpr int kContextRole = Qt::UserRole;
const QString kPageFolder = QStringLiteral("qrc:/help/");

// Headings and tables of the pages; the pages themselves stay plain HTML.
const char* const kPageStyle =
    "body { font-size: 10pt; }"
    "h1 { color: #1d3b6e; font-size: 15pt; margin-bottom: 6px; }"
    "h2 { color: #1d3b6e; font-size: 12pt; margin-top: 14px; margin-bottom: 4px; }"
    "table { border-collapse: collapse; margin-top: 4px; }"
    "td, th { border-width: 1px; border-style: solid; border-color: #aab6c8; }"
    "th { background-color: #e4ebf5; text-align: left; }"
    "a { color: #1a56b0; }";

HelpIndex LoadIndex() {
    QFile file(QStringLiteral(":/help/index.txt"));
    if (!file.open(QIODevice::ReadOnly)) {
        qWarning("help: the help index is missing");
        return {};
    }
    const QByteArray text = file.readAll();
    HelpIndex index = HelpIndex::Parse(std::string_view(text.constData(), text.size()));
    for (int line : index.SkippedLines())
        qWarning("help: index line %d is malformed", line);
    return index;
}

QString ToQString(const std::string& text) {
    return QString::fromUtf8(text.data(), text.size());
}

QListWidgetItem* TopicItem(const QString& text, const HelpTopic& topic) {
    auto* item = new QListWidgetItem(text);
    item->setData(kContextRole, topic.context);
    return item;
}

}  // namespace

HelpWindow::HelpWindow(QWidget* parent) : QMainWindow(parent) {
    RegisterHelpPages();
    index_ = LoadIndex();
    setWindowTitle(QStringLiteral("Справка DALVEX"));
    BuildPanes();
    BuildToolBar();
    resize(860, 600);
}

void HelpWindow::BuildPanes() {
    contentsList_ = new QListWidget;
    for (const HelpTopic& topic : index_.Topics())
        contentsList_->addItem(TopicItem(ToQString(topic.title), topic));
    connect(contentsList_, &QListWidget::itemClicked, this, &HelpWindow::OpenTopicOfItem);
    connect(contentsList_, &QListWidget::itemActivated, this, &HelpWindow::OpenTopicOfItem);

    searchPane_ = new QWidget;
    auto* searchLayout = new QVBoxLayout(searchPane_);
    searchLayout->setContentsMargins(4, 6, 4, 4);
    searchLayout->addWidget(new QLabel(QStringLiteral("Наберите ключевое слово:")));
    searchEdit_ = new QLineEdit;
    searchEdit_->setClearButtonEnabled(true);
    searchLayout->addWidget(searchEdit_);
    searchList_ = new QListWidget;
    searchLayout->addWidget(searchList_);
    connect(searchEdit_, &QLineEdit::textChanged, this, &HelpWindow::FillSearchResults);
    connect(searchEdit_, &QLineEdit::returnPressed, this, &HelpWindow::OpenFirstSearchResult);
    connect(searchList_, &QListWidget::itemClicked, this, &HelpWindow::OpenTopicOfItem);
    connect(searchList_, &QListWidget::itemActivated, this, &HelpWindow::OpenTopicOfItem);
    FillSearchResults({});

    panes_ = new QTabWidget;
    panes_->addTab(contentsList_, QStringLiteral("Оглавление"));
    panes_->addTab(searchPane_, QStringLiteral("Поиск"));

    browser_ = new QTextBrowser;
    browser_->document()->setDefaultStyleSheet(QString::fromLatin1(kPageStyle));
    browser_->document()->setDocumentMargin(10);
    browser_->setOpenExternalLinks(false);
    connect(browser_, &QTextBrowser::sourceChanged, this, &HelpWindow::MarkCurrentTopic);

    auto* splitter = new QSplitter;
    splitter->addWidget(panes_);
    splitter->addWidget(browser_);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({260, 600});
    setCentralWidget(splitter);
}

void HelpWindow::BuildToolBar() {
    QToolBar* bar = addToolBar(QStringLiteral("Справка"));
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);

    QAction* back = bar->addAction(style()->standardIcon(QStyle::SP_ArrowBack),
                                   QStringLiteral("Назад"), browser_, &QTextBrowser::backward);
    back->setShortcut(QKeySequence::Back);
    back->setEnabled(false);
    connect(browser_, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);

    QAction* forward = bar->addAction(style()->standardIcon(QStyle::SP_ArrowForward),
                                      QStringLiteral("Вперед"), browser_, &QTextBrowser::forward);
    forward->setShortcut(QKeySequence::Forward);
    forward->setEnabled(false);
    connect(browser_, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);

    bar->addSeparator();
    bar->addAction(style()->standardIcon(QStyle::SP_FileDialogContentsView),
                   QStringLiteral("Оглавление"), this, &HelpWindow::ShowContents);
    bar->addAction(style()->standardIcon(QStyle::SP_FileDialogDetailedView),
                   QStringLiteral("Поиск"), this, [this] { ShowSearch(searchEdit_->text()); });
}

void HelpWindow::ShowContents() {
    panes_->setCurrentWidget(contentsList_);
    ShowTopic(index_.ContentsTopic());
    BringToFront();
}

void HelpWindow::ShowSearch(const QString& key) {
    panes_->setCurrentWidget(searchPane_);
    if (searchEdit_->text() == key)
        FillSearchResults(key);
    else
        searchEdit_->setText(key);  // refills the list
    if (browser_->source().isEmpty())
        ShowTopic(index_.ContentsTopic());
    BringToFront();
    searchEdit_->selectAll();
    searchEdit_->setFocus();
}

void HelpWindow::ShowContext(int contextNumber) {
    ShowTopic(index_.ForContext(contextNumber));
    BringToFront();
}

void HelpWindow::ShowHelpOnHelp() {
    ShowContext(help_context::HelpOnHelp);
}

void HelpWindow::ShowTopic(const HelpTopic* topic) {
    if (topic == nullptr) {
        browser_->setHtml(
            QStringLiteral("<p>Справочник недоступен: не найден список разделов.</p>"));
        return;
    }
    const QUrl page(kPageFolder + ToQString(topic->file));
    if (browser_->source() == page)
        MarkCurrentTopic(page);
    else
        browser_->setSource(page);
}

void HelpWindow::FillSearchResults(const QString& key) {
    searchList_->clear();
    for (const HelpKeywordHit& hit : index_.Search(key.toStdString())) {
        // A title found as itself needs no second mention of the topic.
        const bool isTitle = LowerCase(hit.term) == LowerCase(hit.topic->title);
        const QString text =
            isTitle ? ToQString(hit.term)
                    : ToQString(hit.term) + QStringLiteral(" — ") + ToQString(hit.topic->title);
        searchList_->addItem(TopicItem(text, *hit.topic));
    }
    if (searchList_->count() > 0)
        searchList_->setCurrentRow(0);
}

void HelpWindow::OpenTopicOfItem(QListWidgetItem* item) {
    if (item == nullptr)
        return;
    ShowTopic(index_.Find(item->data(kContextRole).toInt()));
}

void HelpWindow::OpenFirstSearchResult() {
    OpenTopicOfItem(searchList_->currentItem() != nullptr ? searchList_->currentItem()
                                                          : searchList_->item(0));
}

// Keeps the contents pane pointing at the page on show, however it was reached
// (a link, back/forward or a command).
void HelpWindow::MarkCurrentTopic(const QUrl& source) {
    const HelpTopic* topic = index_.FindFile(source.fileName().toStdString());
    for (int row = 0; row < contentsList_->count(); ++row) {
        QListWidgetItem* item = contentsList_->item(row);
        if (topic != nullptr && item->data(kContextRole).toInt() == topic->context) {
            contentsList_->setCurrentItem(item);
            return;
        }
    }
    contentsList_->clearSelection();
}

void HelpWindow::BringToFront() {
    // F1 in a modal dialog: behind that dialog's block the help would take no
    // clicks, so it is modal itself until closed.
    const QWidget* modal = QApplication::activeModalWidget();
    const Qt::WindowModality wanted =
        modal != nullptr && modal != this ? Qt::ApplicationModal : Qt::NonModal;
    if (windowModality() != wanted) {
        hide();  // modality changes only while hidden
        setWindowModality(wanted);
    }
    if (isMinimized())
        showNormal();
    show();
    raise();
    activateWindow();
}

}  // namespace dalvex
