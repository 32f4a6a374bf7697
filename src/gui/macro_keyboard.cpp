#include "gui/macro_keyboard.h"

#include <QAction>
#include <QApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QWindow>

#include "core/workspace.h"
#include "macros/macro_dialogs.h"

// Qt's own entry for key events as the window system delivers them (the one
// its test library types with): shortcuts and menus see the key as typed.
Q_GUI_EXPORT void qt_handleKeyEvent(QWindow* w, QEvent::Type t, int k, Qt::KeyboardModifiers mods,
                                    const QString& text = QString(), bool autorep = false,
                                    ushort count = 1);

namespace dalvex {

namespace {

struct KeyPair {
    int qt;
    std::uint16_t code;
};

// Keys whose virtual-key code is not their Qt code.
constexpr KeyPair kKeys[] = {
    {Qt::Key_Backspace, 8},     {Qt::Key_Tab, 9},         {Qt::Key_Backtab, 9},
    {Qt::Key_Return, 13},       {Qt::Key_Enter, 13},      {Qt::Key_Shift, 16},
    {Qt::Key_Control, 17},      {Qt::Key_Alt, 18},        {Qt::Key_Pause, 19},
    {Qt::Key_Escape, 27},       {Qt::Key_Space, 32},      {Qt::Key_PageUp, 33},
    {Qt::Key_PageDown, 34},     {Qt::Key_End, 35},        {Qt::Key_Home, 36},
    {Qt::Key_Left, 37},         {Qt::Key_Up, 38},         {Qt::Key_Right, 39},
    {Qt::Key_Down, 40},         {Qt::Key_Insert, 45},     {Qt::Key_Delete, 46},
    {Qt::Key_Asterisk, 106},    {Qt::Key_Plus, 107},      {Qt::Key_Semicolon, 186},
    {Qt::Key_Equal, 187},       {Qt::Key_Comma, 188},     {Qt::Key_Minus, 189},
    {Qt::Key_Period, 190},      {Qt::Key_Slash, 191},     {Qt::Key_QuoteLeft, 192},
    {Qt::Key_BracketLeft, 219}, {Qt::Key_Backslash, 220}, {Qt::Key_BracketRight, 221},
    {Qt::Key_Apostrophe, 222},
};

std::uint16_t CodeOf(int key) {
    if ((key >= Qt::Key_0 && key <= Qt::Key_9) || (key >= Qt::Key_A && key <= Qt::Key_Z))
        return static_cast<std::uint16_t>(key);  // the same codes
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return static_cast<std::uint16_t>(vk::F1 + (key - Qt::Key_F1));
    for (const KeyPair& pair : kKeys)
        if (pair.qt == key)
            return pair.code;
    return 0;
}

// A played code as a Qt key and the text it types.
int QtKeyOf(std::uint16_t code, QString& text) {
    text.clear();
    if ((code >= '0' && code <= '9') || (code >= 'A' && code <= 'Z')) {
        text = QChar(code).toLower();
        return code;
    }
    if (code >= 96 && code <= 105) {  // the number pad's digits
        text = QChar('0' + (code - 96));
        return Qt::Key_0 + (code - 96);
    }
    if (code == 110) {
        text = QStringLiteral(".");
        return Qt::Key_Period;
    }
    if (code == 109) {
        text = QStringLiteral("-");
        return Qt::Key_Minus;
    }
    if (code == 111) {
        text = QStringLiteral("/");
        return Qt::Key_Slash;
    }
    if (code >= vk::F1 && code <= vk::F1 + 23)
        return Qt::Key_F1 + (code - vk::F1);
    for (const KeyPair& pair : kKeys)
        if (pair.code == code) {
            if (pair.qt == Qt::Key_Return)
                text = QStringLiteral("\r");
            else if (pair.qt == Qt::Key_Tab)
                text = QStringLiteral("\t");
            else if (pair.qt != Qt::Key_Backspace && pair.qt != Qt::Key_Delete &&
                     pair.qt != Qt::Key_Escape && (pair.qt < Qt::Key_Escape))
                text = QChar(pair.qt);
            return pair.qt;
        }
    return 0;
}

}  // namespace

KeyRecord KeyRecordOf(const QKeyEvent& event) {
    KeyRecord record;
    record.key = CodeOf(event.key());
    record.data = 1u | ((event.nativeScanCode() & 0xFFu) << 16);
    if (event.modifiers() & Qt::AltModifier)
        record.data |= AltHeldBit;
    if (event.isAutoRepeat())
        record.data |= PreviousStateBit;
    if (event.type() == QEvent::KeyRelease)
        record.data |= ReleaseBit;
    return record;
}

MacroKeyboard::MacroKeyboard(Workspace& ws, QLabel* indicator, QAction* shown, QObject* parent)
    : QObject(parent),
      ws_(ws),
      indicatorLabel_(indicator),
      indicatorShown_(shown),
      machine_(*this, ws.ProgramFolder) {
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, [this] { machine_.Tick(); });
}

MacroKeyboard::~MacroKeyboard() {
    SetActive(false);
}

void MacroKeyboard::SetActive(bool active) {
    if (active == active_ || !qApp)
        return;
    active_ = active;
    machine_.SetFolder(ws_.ProgramFolder);
    if (active)
        qApp->installEventFilter(this);
    else
        qApp->removeEventFilter(this);
}

bool MacroKeyboard::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if ((type != QEvent::ShortcutOverride && type != QEvent::KeyPress) || !watched->isWidgetType())
        return QObject::eventFilter(watched, event);
    // A key reaches the filter once for every widget it travels through;
    // only its first stop, a window of this program, counts.
    QWidget* first = QApplication::focusWidget();
    if (!first)
        first = QApplication::activeWindow();
    if (watched != first)
        return QObject::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    // A typed key first asks whether it is a shortcut (menus and function
    // keys answer there and the press never comes) and then, if not, comes
    // as a press. The machine sees it at the first of the two.
    if (type == QEvent::KeyPress && pendingKey_ == key->key()) {
        pendingKey_ = 0;
        return pendingSwallow_;
    }
    const KeyRecord record = KeyRecordOf(*key);
    const bool swallowed = record.key != 0 && machine_.OnKey(record);  // may show a dialog
    if (type == QEvent::ShortcutOverride) {
        // Noted after the machine returns, so keys typed in its dialogs do
        // not overwrite it.
        pendingKey_ = key->key();
        pendingSwallow_ = swallowed;
        if (swallowed)
            key->accept();  // not a shortcut: the press comes, and is swallowed
    }
    return swallowed;
}

int MacroKeyboard::DefinitionDialog() {
    return ShowDefinitionDialog(ws_, ws_.ProgramFolder);
}

ExecutionAnswer MacroKeyboard::ExecutionDialog() {
    return ShowExecutionDialog(ws_, ws_.ProgramFolder);
}

void MacroKeyboard::ShowIndicator(MacroIndicator indicator) {
    indicator_ = indicator;
    if (indicatorShown_)
        indicatorShown_->setVisible(indicator != MacroIndicator::Hidden);
    if (!indicatorLabel_ || indicator == MacroIndicator::Hidden)
        return;
    // Red text while recording, blue while the recording pauses.
    const QString color =
        indicator == MacroIndicator::Red ? QStringLiteral("#d01818") : QStringLiteral("#1830d0");
    indicatorLabel_->setStyleSheet(
        QStringLiteral("QLabel { color: %1; font-weight: bold; padding: 2px 8px; }").arg(color));
}

void MacroKeyboard::StartTimer(int milliseconds) {
    timer_.start(milliseconds);
}

void MacroKeyboard::StopTimer() {
    timer_.stop();
}

void MacroKeyboard::PlayKey(const KeyRecord& record, bool /*asRelease*/) {
    // Delivered after the tick returns: a key that opens a modal dialog then
    // runs the dialog's loop outside the tick, and the next tick plays into
    // the dialog. Every key goes down and up again, whatever the record says,
    // as the windows here act on the press.
    QString text;
    const int key = QtKeyOf(record.key, text);
    if (key == 0)
        return;
    const Qt::KeyboardModifiers modifiers = record.altHeld() ? Qt::AltModifier : Qt::NoModifier;
    QTimer::singleShot(0, this, [key, text, modifiers] {
        QWindow* window = QGuiApplication::focusWindow();
        if (!window)
            return;  // the program is not in front: the key is dropped
        qt_handleKeyEvent(window, QEvent::KeyPress, key, modifiers, text);
        if (QWindow* still = QGuiApplication::focusWindow())
            qt_handleKeyEvent(still, QEvent::KeyRelease, key, modifiers, text);
    });
}

void MacroKeyboard::Beep() {
    QApplication::beep();
}

void MacroKeyboard::Notice(const std::string& text) {
    ShowNotice(ws_, text);
}

}  // namespace dalvex
