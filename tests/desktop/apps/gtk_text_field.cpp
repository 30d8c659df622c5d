// SPDX-License-Identifier: GPL-3.0-or-later
// A GTK 3 window with one text field for the desktop tests: a GtkEntry, a GtkTextView with
// "--multi-line", a password entry with "--password"; "--read-only" makes the field refuse edits and
// "--max-length=N" cuts them short.
// It takes keyboard focus when it starts and talks over stdin and stdout, one line per message
// (marked_text.h):
//   out "ready"          once the field has keyboard focus;
//   in  "set <marked>"   replaces the text and selection, answers "ok";
//   in  "dump"           answers "text <marked>", the field's real text and selection.
// It ends when stdin closes, so that it never outlives the test that started it.
#include <gtk/gtk.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "marked_text.h"

namespace {

using tarvelo::desktop::testing::escapeLine;
using tarvelo::desktop::testing::formatMarked;
using tarvelo::desktop::testing::MarkedText;
using tarvelo::desktop::testing::parseMarked;
using tarvelo::desktop::testing::unescapeLine;

constexpr const char* kIdentifier = "org.tarvelo.TestGtkField";

struct Field {
    GApplication* application = nullptr;
    GtkWidget* widget = nullptr;
    bool multiLine = false;
    bool password = false;
    bool readOnly = false;
    gint maxLength = 0;
    bool announcedReady = false;
};

void say(const std::string& line) {
    std::fputs(line.c_str(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

gint characterOffset(const std::string& text, std::size_t byteOffset) {
    return static_cast<gint>(g_utf8_pointer_to_offset(text.c_str(), text.c_str() + byteOffset));
}

std::size_t byteOffset(const char* text, gint characterOffset) {
    return static_cast<std::size_t>(g_utf8_offset_to_pointer(text, characterOffset) - text);
}

void setMarked(Field& field, const MarkedText& marked) {
    const gint start = characterOffset(marked.text, marked.selectionStart);
    const gint end = characterOffset(marked.text, marked.selectionEnd);
    if (field.multiLine) {
        GtkTextBuffer* buffer = gtk_text_view_get_buffer(GTK_TEXT_VIEW(field.widget));
        gtk_text_buffer_set_text(buffer, marked.text.c_str(), static_cast<gint>(marked.text.size()));
        GtkTextIter startIter;
        GtkTextIter endIter;
        gtk_text_buffer_get_iter_at_offset(buffer, &startIter, start);
        gtk_text_buffer_get_iter_at_offset(buffer, &endIter, end);
        // The caret ("insert") goes to the end of the selection, as after selecting with Shift+Right.
        gtk_text_buffer_select_range(buffer, &endIter, &startIter);
    } else {
        gtk_entry_set_text(GTK_ENTRY(field.widget), marked.text.c_str());
        gtk_editable_select_region(GTK_EDITABLE(field.widget), start, end);
    }
}

std::string dumpMarked(const Field& field) {
    if (field.multiLine) {
        GtkTextBuffer* buffer = gtk_text_view_get_buffer(GTK_TEXT_VIEW(field.widget));
        GtkTextIter begin;
        GtkTextIter end;
        gtk_text_buffer_get_bounds(buffer, &begin, &end);
        std::unique_ptr<gchar, decltype(&g_free)> text(gtk_text_buffer_get_text(buffer, &begin, &end, TRUE), g_free);
        GtkTextIter selectionStart;
        GtkTextIter selectionEnd;
        gtk_text_buffer_get_selection_bounds(buffer, &selectionStart, &selectionEnd);
        return formatMarked(text.get(), byteOffset(text.get(), gtk_text_iter_get_offset(&selectionStart)),
                            byteOffset(text.get(), gtk_text_iter_get_offset(&selectionEnd)));
    }
    const char* text = gtk_entry_get_text(GTK_ENTRY(field.widget));
    gint start = 0;
    gint end = 0;
    gtk_editable_get_selection_bounds(GTK_EDITABLE(field.widget), &start, &end);
    return formatMarked(text, byteOffset(text, start), byteOffset(text, end));
}

gboolean onInput(GIOChannel* channel, GIOCondition, gpointer data) {
    auto* field = static_cast<Field*>(data);
    gchar* raw = nullptr;
    gsize length = 0;
    const GIOStatus status = g_io_channel_read_line(channel, &raw, &length, nullptr, nullptr);
    std::unique_ptr<gchar, decltype(&g_free)> line(raw, g_free);
    if (status == G_IO_STATUS_AGAIN) return G_SOURCE_CONTINUE;
    if (status != G_IO_STATUS_NORMAL) {
        g_application_quit(field->application);
        return G_SOURCE_REMOVE;
    }
    std::string_view command(line.get(), length);
    while (!command.empty() && (command.back() == '\n' || command.back() == '\r')) command.remove_suffix(1);
    if (command == "dump") {
        say("text " + escapeLine(dumpMarked(*field)));
    } else if (command.rfind("set ", 0) == 0) {
        setMarked(*field, parseMarked(unescapeLine(command.substr(4))));
        say("ok");
    } else {
        say("error unknown command");
    }
    return G_SOURCE_CONTINUE;
}

gboolean onFocusIn(GtkWidget*, GdkEvent*, gpointer data) {
    auto* field = static_cast<Field*>(data);
    if (field->password) {
        // GTK 3 hands the purpose to its input-method module only when it changes, and makes the module
        // on first focus: said again now, the module passes it on.
        gtk_entry_set_input_purpose(GTK_ENTRY(field->widget), GTK_INPUT_PURPOSE_FREE_FORM);
        gtk_entry_set_input_purpose(GTK_ENTRY(field->widget), GTK_INPUT_PURPOSE_PASSWORD);
    }
    if (!field->announcedReady) {
        field->announcedReady = true;
        say("ready");
    }
    return FALSE;
}

void onActivate(GtkApplication* application, gpointer data) {
    auto* field = static_cast<Field*>(data);
    GtkWidget* window = gtk_application_window_new(application);
    gtk_window_set_title(GTK_WINDOW(window), kIdentifier);
    gtk_window_set_default_size(GTK_WINDOW(window), 400, field->multiLine ? 200 : 40);
    if (field->multiLine) {
        field->widget = gtk_text_view_new();
        gtk_text_view_set_editable(GTK_TEXT_VIEW(field->widget), !field->readOnly);
    } else {
        field->widget = gtk_entry_new();
        if (field->password) {
            gtk_entry_set_visibility(GTK_ENTRY(field->widget), FALSE);
            // As password entries say so to an input method.
            gtk_entry_set_input_purpose(GTK_ENTRY(field->widget), GTK_INPUT_PURPOSE_PASSWORD);
        }
        gtk_editable_set_editable(GTK_EDITABLE(field->widget), !field->readOnly);
        gtk_entry_set_max_length(GTK_ENTRY(field->widget), field->maxLength);
    }
    gtk_container_add(GTK_CONTAINER(window), field->widget);
    g_signal_connect_after(field->widget, "focus-in-event", G_CALLBACK(onFocusIn), field);
    gtk_widget_show_all(window);
    gtk_widget_grab_focus(field->widget);
    // Without a window manager GDK gives the window the input focus itself.
    gtk_window_present(GTK_WINDOW(window));
}

}  // namespace

int main(int argc, char** argv) {
    Field field;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--multi-line") == 0) field.multiLine = true;
        if (std::strcmp(argv[i], "--password") == 0) field.password = true;
        if (std::strcmp(argv[i], "--read-only") == 0) field.readOnly = true;
        if (std::strncmp(argv[i], "--max-length=", 13) == 0) field.maxLength = std::atoi(argv[i] + 13);
    }
    g_set_prgname(kIdentifier);
    gdk_set_program_class(kIdentifier);
    // Not unique: every test starts its own instance, and a finished one may still hold the name.
    std::unique_ptr<GtkApplication, decltype(&g_object_unref)> application(
        gtk_application_new(kIdentifier, G_APPLICATION_NON_UNIQUE), g_object_unref);
    field.application = G_APPLICATION(application.get());
    g_signal_connect(application.get(), "activate", G_CALLBACK(onActivate), &field);

    std::unique_ptr<GIOChannel, decltype(&g_io_channel_unref)> input(g_io_channel_unix_new(0), g_io_channel_unref);
    g_io_add_watch(input.get(), static_cast<GIOCondition>(G_IO_IN | G_IO_HUP | G_IO_ERR), onInput, &field);
    // The arguments are this program's own, not GApplication's.
    return g_application_run(field.application, 1, argv);
}
