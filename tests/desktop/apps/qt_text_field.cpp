// SPDX-License-Identifier: GPL-3.0-or-later
// A Qt 6 Widgets window with one text field for the desktop tests: a QLineEdit, a QTextEdit with
// "--multi-line", a password line edit with "--password"; "--read-only" makes the field refuse edits
// and "--max-length=N" cuts them short. "--keys-only" shows its text to accessibility but offers no way
// to edit it there, as terminals and some toolkits do: it changes only through keys.
// It takes keyboard focus when it starts and talks over stdin and stdout, one line per message
// (marked_text.h):
//   out "ready"          once the field has keyboard focus;
//   in  "set <marked>"   replaces the text and selection, answers "ok";
//   in  "dump"           answers "text <marked>", the field's real text and selection;
//   in  "shot <path>"    saves a picture of its window as PNG at <path>, answers "ok" (Qt draws it
//                        itself, so this works on Wayland too, where no other program may look).
// It ends when stdin closes, so that it never outlives the test that started it.
#include <unistd.h>

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QLineEdit>
#include <QPixmap>
#include <QSocketNotifier>
#include <QTextCursor>
#include <QTextEdit>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "marked_text.h"

namespace {

using tarvelo::desktop::testing::escapeLine;
using tarvelo::desktop::testing::formatMarked;
using tarvelo::desktop::testing::MarkedText;
using tarvelo::desktop::testing::parseMarked;
using tarvelo::desktop::testing::unescapeLine;

void say(const std::string& line) {
    std::fputs(line.c_str(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

// Positions in Qt are UTF-16 code units; the protocol's are UTF-8 bytes.
int unitOffset(const std::string& text, std::size_t byteOffset) {
    return static_cast<int>(QString::fromUtf8(text.data(), static_cast<qsizetype>(byteOffset)).size());
}

std::size_t byteOffset(const QString& text, int unitOffset) {
    return static_cast<std::size_t>(text.left(unitOffset).toUtf8().size());
}

// A line edit's accessible face with the text interface and without the editable-text one.
class KeysOnlyAccessible final : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit KeysOnlyAccessible(QLineEdit* edit) : QAccessibleWidget(edit, QAccessible::EditableText), edit_(edit) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    QString text(QAccessible::Text kind) const override {
        return kind == QAccessible::Value ? edit_->text() : QAccessibleWidget::text(kind);
    }
    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.editable = true;
        return state;
    }

    void selection(int index, int* start, int* end) const override {
        *start = *end = 0;
        if (index == 0 && edit_->hasSelectedText()) {
            *start = edit_->selectionStart();
            *end = edit_->selectionEnd();
        }
    }
    int selectionCount() const override { return edit_->hasSelectedText() ? 1 : 0; }
    void addSelection(int start, int end) override { setSelection(0, start, end); }
    void removeSelection(int) override { edit_->deselect(); }
    void setSelection(int, int start, int end) override { edit_->setSelection(start, end - start); }
    int cursorPosition() const override { return edit_->cursorPosition(); }
    void setCursorPosition(int position) override { edit_->setCursorPosition(position); }
    QString text(int start, int end) const override { return edit_->text().mid(start, end - start); }
    int characterCount() const override { return static_cast<int>(edit_->text().size()); }
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int offset, int* start, int* end) const override {
        *start = *end = offset;
        return {};
    }

private:
    QLineEdit* edit_;
};

// A class of its own, so that the accessibility factories meet its name before QLineEdit's, whose
// standard face they would otherwise give it.
class KeysOnlyLineEdit final : public QLineEdit {
    Q_OBJECT
};

QAccessibleInterface* keysOnlyFactory(const QString& className, QObject* object) {
    if (className != QLatin1String("KeysOnlyLineEdit")) return nullptr;
    return new KeysOnlyAccessible(static_cast<QLineEdit*>(object));
}

class Field {
public:
    Field(bool multiLine, bool password, bool readOnly, int maxLength, bool keysOnly) {
        if (multiLine) {
            textEdit_ = new QTextEdit;
            textEdit_->setAcceptRichText(false);
            textEdit_->setReadOnly(readOnly);
            widget_ = textEdit_;
        } else {
            lineEdit_ = keysOnly ? new KeysOnlyLineEdit : new QLineEdit;
            if (password) lineEdit_->setEchoMode(QLineEdit::Password);
            lineEdit_->setReadOnly(readOnly);
            if (maxLength > 0) lineEdit_->setMaxLength(maxLength);
            widget_ = lineEdit_;
        }
        widget_->setWindowTitle("tarvelo-qt-field");
        widget_->resize(400, multiLine ? 200 : 40);
    }
    ~Field() { delete widget_; }
    Field(const Field&) = delete;
    Field& operator=(const Field&) = delete;

    QWidget* widget() const { return widget_; }

    void set(const MarkedText& marked) {
        const int start = unitOffset(marked.text, marked.selectionStart);
        const int end = unitOffset(marked.text, marked.selectionEnd);
        const QString text = QString::fromStdString(marked.text);
        if (textEdit_ != nullptr) {
            textEdit_->setPlainText(text);
            QTextCursor cursor = textEdit_->textCursor();
            cursor.setPosition(start);
            cursor.setPosition(end, QTextCursor::KeepAnchor);
            textEdit_->setTextCursor(cursor);
        } else {
            lineEdit_->setText(text);
            if (end > start) {
                lineEdit_->setSelection(start, end - start);
            } else {
                lineEdit_->setCursorPosition(start);
            }
        }
    }

    std::string dump() const {
        QString text;
        int start = 0;
        int end = 0;
        if (textEdit_ != nullptr) {
            text = textEdit_->toPlainText();
            const QTextCursor cursor = textEdit_->textCursor();
            start = cursor.selectionStart();
            end = cursor.selectionEnd();
        } else {
            text = lineEdit_->text();
            if (lineEdit_->hasSelectedText()) {
                start = lineEdit_->selectionStart();
                end = lineEdit_->selectionEnd();
            } else {
                start = end = lineEdit_->cursorPosition();
            }
        }
        return formatMarked(text.toStdString(), byteOffset(text, start), byteOffset(text, end));
    }

private:
    QWidget* widget_ = nullptr;
    QLineEdit* lineEdit_ = nullptr;
    QTextEdit* textEdit_ = nullptr;
};

}  // namespace

int main(int argc, char** argv) {
    bool multiLine = false;
    bool password = false;
    bool readOnly = false;
    int maxLength = 0;
    bool keysOnly = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--multi-line") == 0) multiLine = true;
        if (std::strcmp(argv[i], "--password") == 0) password = true;
        if (std::strcmp(argv[i], "--read-only") == 0) readOnly = true;
        if (std::strncmp(argv[i], "--max-length=", 13) == 0) maxLength = std::atoi(argv[i] + 13);
        if (std::strcmp(argv[i], "--keys-only") == 0) keysOnly = true;
    }
    QAccessible::installFactory(keysOnlyFactory);
    QApplication application(argc, argv);
    QApplication::setApplicationName("tarvelo-qt-field");

    Field field(multiLine, password, readOnly, maxLength, keysOnly);
    bool announcedReady = false;
    const auto announceWhenFocused = [&] {
        if (!announcedReady && field.widget()->hasFocus()) {
            announcedReady = true;
            say("ready");
        }
    };
    QObject::connect(&application, &QApplication::focusChanged, announceWhenFocused);

    std::string pending;
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        char buffer[4096];
        const ssize_t count = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (count <= 0) {
            input.setEnabled(false);
            QApplication::quit();
            return;
        }
        pending.append(buffer, static_cast<std::size_t>(count));
        for (std::size_t end = pending.find('\n'); end != std::string::npos; end = pending.find('\n')) {
            const std::string command = pending.substr(0, end);
            pending.erase(0, end + 1);
            if (command == "dump") {
                say("text " + escapeLine(field.dump()));
            } else if (command.rfind("shot ", 0) == 0) {
                const QString path = QString::fromStdString(command.substr(5));
                say(field.widget()->window()->grab().save(path, "PNG") ? "ok" : "error cannot save");
            } else if (command.rfind("set ", 0) == 0) {
                field.set(parseMarked(unescapeLine(std::string_view(command).substr(4))));
                say("ok");
            } else {
                say("error unknown command");
            }
        }
    });

    field.widget()->show();
    field.widget()->activateWindow();
    field.widget()->setFocus();
    announceWhenFocused();
    return QApplication::exec();
}

#include "qt_text_field.moc"
