// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/ibus/ibus_backend.h"

#include <ibus.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <utility>
#include <string_view>

#include "platform/linux/ibus/gnome_shell_input_sources.h"
#include "platform/linux/ibus/ibus_text_field.h"
#include "support/virtual_keys.h"
#include "text/utf8.h"

namespace tarvelo::desktop {
namespace {

// The one backend the engines of this process report to.
IbusBackend* g_backend = nullptr;

// The edits reach the client through the engine it is connected to.
//
// Over IBus a length is counted in characters; over Wayland's text-input it is counted in bytes, and
// GNOME Shell 43 hands both on between the two unchanged. Its Wayland clients then read as the input
// context whose caret can lie beyond the end of its text (a byte offset), and what a deletion takes
// depends on the client: GTK 3 reads the count as bytes (as the protocol says), GTK 4.8 as characters.
// Newer compositors convert, and their offsets are characters again.
class EngineEdits final : public IbusClientEdits {
public:
    explicit EngineEdits(IBusEngine* engine) : engine_(engine) {}

    void deleteBeforeCaret(std::size_t characters, std::optional<std::size_t> utf8Bytes) override {
        std::size_t count = characters;
        // Fewer characters go than were asked when the guess is wrong the other way, never more.
        if (byteOffsets_ && utf8Bytes && g_backend != nullptr && g_backend->clientCountsBytes()) count = *utf8Bytes;
        const auto length = static_cast<guint>(count);
        ibus_engine_delete_surrounding_text(engine_, -static_cast<gint>(length), length);
    }
    void commit(std::string_view text) override {
        const std::string copy(text);
        ibus_engine_commit_text(engine_, ibus_text_new_from_string(copy.c_str()));
    }

    // The client's caret and selection anchor as character offsets into `text`: byte offsets are
    // recognised by a caret beyond the text's end, and from then on taken for bytes until the focus
    // moves. The daemon gives one engine every client (GNOME Shell, for all its Wayland clients, and
    // each client that talks to IBus itself), so what one client does says nothing of the next.
    std::pair<std::size_t, std::size_t> characterOffsets(const char* text, guint cursor, guint anchor) {
        const auto characters = static_cast<std::size_t>(g_utf8_strlen(text, -1));
        if (std::max(cursor, anchor) > characters) byteOffsets_ = true;
        if (!byteOffsets_) return {cursor, anchor};
        const std::size_t bytes = std::strlen(text);
        const auto toCharacters = [&](guint offset) -> std::size_t {
            const std::size_t end = std::min<std::size_t>(offset, bytes);
            return static_cast<std::size_t>(g_utf8_pointer_to_offset(text, text + end));
        };
        return {toCharacters(cursor), toCharacters(anchor)};
    }

    void focusMoved() { byteOffsets_ = false; }

private:
    IBusEngine* engine_;
    bool byteOffsets_ = false;
};

}  // namespace

struct EngineState {
    explicit EngineState(IBusEngine* engine) : edits(engine), field(std::make_shared<IbusTextField>(edits)) {}
    EngineEdits edits;
    std::shared_ptr<IbusTextField> field;
};

struct TarveloIbusEngine {
    IBusEngine parent;
    EngineState* state;
};

namespace {

struct TarveloIbusEngineClass {
    IBusEngineClass parent;
};

IBusEngineClass* g_parentClass = nullptr;

TarveloIbusEngine& self(IBusEngine* engine) { return *reinterpret_cast<TarveloIbusEngine*>(engine); }

IbusLayout layoutOf(IBusEngine* engine) {
    const gchar* name = ibus_engine_get_name(engine);
    return ibusLayoutOfEngine(name != nullptr ? name : "").value_or(IbusLayout::us);
}

// Tells the client that the engine reads its surrounding text: a client sends it only once asked.
void requestSurroundingText(IBusEngine* engine) {
    IBusText* text = nullptr;
    guint cursor = 0;
    guint anchor = 0;
    // Asks the client for it too; what it answers comes through set_surrounding_text.
    ibus_engine_get_surrounding_text(engine, &text, &cursor, &anchor);
}

gboolean processKeyEvent(IBusEngine* engine, guint keyval, guint keycode, guint state) {
    if (g_backend == nullptr) return FALSE;
    return g_backend->processKey(self(engine), keyval, keycode, state) ? TRUE : FALSE;
}

void focusIn(IBusEngine* engine) {
    self(engine).state->edits.focusMoved();
    if (g_backend != nullptr) g_backend->focusIn(self(engine));
    requestSurroundingText(engine);
}

// The text is kept across focus changes and resets of the same input context: the daemon passes the
// client's surrounding text on only when it differs from what it passed last, so a text forgotten here
// would not come back until the client's text changes. A change does come, and replaces it.
void focusOut(IBusEngine* engine) {
    self(engine).state->edits.focusMoved();
    if (g_backend != nullptr) g_backend->focusOut(self(engine));
}

void reset(IBusEngine* engine) { requestSurroundingText(engine); }

void enable(IBusEngine* engine) {
    if (g_backend != nullptr) g_backend->focusIn(self(engine));
    requestSurroundingText(engine);
}

void disable(IBusEngine* engine) {
    self(engine).state->field->forget();
    if (g_backend != nullptr) g_backend->focusOut(self(engine));
}

void setSurroundingText(IBusEngine* engine, IBusText* text, guint cursor, guint anchor) {
    if (g_parentClass->set_surrounding_text != nullptr) g_parentClass->set_surrounding_text(engine, text, cursor, anchor);
    const gchar* value = text != nullptr ? ibus_text_get_text(text) : "";
    if (value == nullptr) value = "";
    EngineState& state = *self(engine).state;
    const auto [caret, selectionAnchor] = state.edits.characterOffsets(value, cursor, anchor);
    state.field->setSurroundingText(value, caret, selectionAnchor);
}

void setContentType(IBusEngine* engine, guint purpose, guint hints) {
    if (g_parentClass->set_content_type != nullptr) g_parentClass->set_content_type(engine, purpose, hints);
    self(engine).state->field->setSecure(purpose == IBUS_INPUT_PURPOSE_PASSWORD || purpose == IBUS_INPUT_PURPOSE_PIN);
}

void setCapabilities(IBusEngine* engine, guint capabilities) {
    if ((capabilities & IBUS_CAP_SURROUNDING_TEXT) == 0) self(engine).state->field->forget();
}

void destroy(IBusObject* object) {
    auto& engine = *reinterpret_cast<TarveloIbusEngine*>(object);
    if (g_backend != nullptr) g_backend->destroyed(engine);
    delete engine.state;
    engine.state = nullptr;
    IBUS_OBJECT_CLASS(g_parentClass)->destroy(object);
}

void classInit(gpointer klass, gpointer) {
    g_parentClass = static_cast<IBusEngineClass*>(g_type_class_peek_parent(klass));
    auto* engineClass = static_cast<IBusEngineClass*>(klass);
    engineClass->process_key_event = processKeyEvent;
    engineClass->focus_in = focusIn;
    engineClass->focus_out = focusOut;
    engineClass->reset = reset;
    engineClass->enable = enable;
    engineClass->disable = disable;
    engineClass->set_surrounding_text = setSurroundingText;
    engineClass->set_content_type = setContentType;
    engineClass->set_capabilities = setCapabilities;
    static_cast<IBusObjectClass*>(klass)->destroy = destroy;
}

void instanceInit(GTypeInstance* instance, gpointer) {
    auto& engine = *reinterpret_cast<TarveloIbusEngine*>(instance);
    engine.state = new EngineState(&engine.parent);
}

GType engineType() {
    static const GType type = g_type_register_static_simple(
        IBUS_TYPE_ENGINE, "TarveloIbusEngine", sizeof(TarveloIbusEngineClass), classInit, sizeof(TarveloIbusEngine),
        instanceInit, static_cast<GTypeFlags>(0));
    return type;
}

// A key that types: printable text with no modifier that makes it a command.
bool types(const KeyEventRecord& record) {
    if (!record.characters || record.characters->empty() || record.keyCode == virtual_key::kDelete) return false;
    if ((record.flags & (modifier_flag::kCommand | modifier_flag::kControl | modifier_flag::kOption)) != 0) return false;
    const char32_t first = text::firstScalar(*record.characters);
    return first >= 0x20 && first != 0x7F;
}

}  // namespace

IbusBackend::IbusBackend() {
    ibus_init();
    bus_ = ibus_bus_new();
    g_backend = this;
    g_signal_connect(bus_, "disconnected", G_CALLBACK(+[](IBusBus*, gpointer data) {
                         static_cast<IbusBackend*>(data)->disconnected();
                     }),
                     this);
}

IbusBackend::~IbusBackend() {
    if (g_backend == this) g_backend = nullptr;
    if (bus_ != nullptr) g_signal_handlers_disconnect_by_data(bus_, this);
    if (factory_ != nullptr) g_object_unref(factory_);
    if (bus_ != nullptr) g_object_unref(bus_);
}

bool IbusBackend::isConnected() const { return bus_ != nullptr && ibus_bus_is_connected(bus_); }

bool IbusBackend::registerEngines() {
    if (!isConnected()) return false;
    if (factory_ == nullptr) {
        factory_ = ibus_factory_new(ibus_bus_get_connection(bus_));
        g_object_ref_sink(factory_);
        for (const IbusLayout layout : {IbusLayout::us, IbusLayout::ru}) {
            ibus_factory_add_engine(factory_, ibusEngineName(layout), engineType());
        }
    }
    return ibus_bus_request_name(bus_, kComponentName, 0) != 0;
}

bool IbusBackend::isTarveloEngineActive() {
    ibus_init();
    IBusBus* bus = ibus_bus_new();
    bool active = false;
    if (ibus_bus_is_connected(bus)) {
        if (IBusEngineDesc* engine = ibus_bus_get_global_engine(bus); engine != nullptr) {
            const gchar* name = ibus_engine_desc_get_name(engine);
            active = name != nullptr && ibusLayoutOfEngine(name).has_value();
            g_object_unref(engine);
        }
    }
    g_object_unref(bus);
    return active;
}

bool IbusBackend::install(Callback callback) {
    callback_ = std::move(callback);
    enabled_ = true;
    return true;
}

void IbusBackend::remove() {
    callback_ = nullptr;
    enabled_ = false;
}

bool IbusBackend::processKey(TarveloIbusEngine& engine, unsigned keyval, unsigned keycode, unsigned state) {
    focused_ = &engine;
    const IbusLayout layout = layoutOf(&engine.parent);
    layout_ = layout;
    const std::optional<KeyEventRecord> record = ibusKeyRecord(keyval, keycode, state, layout);
    if (!record) return false;
    IbusTextField& field = *engine.state->field;
    const bool typing = types(*record);
    if (typing) field.hold(*record->characters);
    TapAnswer answer = TapAnswer::pass;
    if (callback_ && enabled_) {
        // A copy: the callback may remove the tap while it runs.
        const Callback callback = callback_;
        answer = callback(*record);
    }
    if (answer == TapAnswer::swallow) {
        if (typing) field.dropHeld();
        return true;
    }
    if (typing) {
        // An edit committed the key with its replacement.
        if (field.finishHeld()) return true;
        // Typed text reaches the client the way the engine's own edits do, so that nothing overtakes
        // them: a key handed back travels apart from the commits (on Wayland as a key event beside the
        // input method's text), and GTK 4 was seen to take it after an edit made later. A password
        // field gets its keys as they are.
        if (!field.isSecure()) {
            engine.state->edits.commit(*record->characters);
            return true;
        }
        // The client's keymap is not the engine's layout (an X11 session with another group): the key
        // types what the layout says.
        std::string clientText;
        if (const gunichar character = ibus_keyval_to_unicode(keyval); character != 0) {
            text::appendScalar(clientText, static_cast<char32_t>(character));
        }
        if (clientText != *record->characters) {
            engine.state->edits.commit(*record->characters);
            return true;
        }
        return false;
    }
    if (record->keyCode == virtual_key::kDelete &&
        (record->flags & (modifier_flag::kCommand | modifier_flag::kControl | modifier_flag::kOption)) == 0) {
        field.noteBackspace();
    }
    return false;
}

void IbusBackend::focusIn(TarveloIbusEngine& engine) {
    focused_ = &engine;
    layout_ = layoutOf(&engine.parent);
}

void IbusBackend::focusOut(TarveloIbusEngine& engine) {
    if (focused_ == &engine) focused_ = nullptr;
    // A word left unfinished in one field does not go on in the next.
    if (callback_ && enabled_) {
        KeyEventRecord record;
        record.type = KeyEventRecord::kFocusMoved;
        const Callback callback = callback_;
        callback(record);
    }
}

void IbusBackend::destroyed(TarveloIbusEngine& engine) {
    if (focused_ == &engine) focused_ = nullptr;
}

bool IbusBackend::post(const KeyboardEvent& event) {
    if (focused_ == nullptr) return false;
    if (!event.keyDown) return true;
    IbusTextField& field = *focused_->state->field;
    if (event.keyCode == virtual_key::kDelete) {
        field.deleteBefore(1);
    } else if (!event.unicodeString.empty()) {
        field.insert(text::fromUtf16(event.unicodeString));
    }
    return true;
}

std::shared_ptr<AccessibilityElement> IbusBackend::focusedElement() {
    if (focused_ == nullptr) return nullptr;
    return focused_->state->field;
}

std::optional<std::string> IbusBackend::selectedKeyboardInputSource() {
    if (!layout_) return std::nullopt;
    return std::string(ibusLayoutName(*layout_));
}

bool IbusBackend::selectKeyboardLayout(KeyboardLayout layout) {
    const IbusLayout wanted = layout == KeyboardLayout::russian ? IbusLayout::ru : IbusLayout::us;
    if (layout_ == wanted) return true;
    if (!inputSourcesOpened_ && isConnected()) {
        inputSourcesOpened_ = true;
        inputSources_ = GnomeShellInputSources::open(bus_);
    }
    return inputSources_ != nullptr && inputSources_->select(ibusEngineName(wanted));
}

}  // namespace tarvelo::desktop
