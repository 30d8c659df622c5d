// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/ibus/ibus_backend.h"

#include <ibus.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <utility>

#include "platform/linux/ibus/gnome_shell_input_sources.h"

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
class EngineEdits final : public InputMethodClientEdits {
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
    explicit EngineState(IBusEngine* engine) : edits(engine), client(edits) {}
    EngineEdits edits;
    InputMethodClient client;
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

InputMethodLayout layoutOf(IBusEngine* engine) {
    const gchar* name = ibus_engine_get_name(engine);
    return ibusLayoutOfEngine(name != nullptr ? name : "").value_or(InputMethodLayout::us);
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
    self(engine).state->client.field().forget();
    if (g_backend != nullptr) g_backend->focusOut(self(engine));
}

void setSurroundingText(IBusEngine* engine, IBusText* text, guint cursor, guint anchor) {
    if (g_parentClass->set_surrounding_text != nullptr) g_parentClass->set_surrounding_text(engine, text, cursor, anchor);
    const gchar* value = text != nullptr ? ibus_text_get_text(text) : "";
    if (value == nullptr) value = "";
    EngineState& state = *self(engine).state;
    const auto [caret, selectionAnchor] = state.edits.characterOffsets(value, cursor, anchor);
    state.client.field().setSurroundingText(value, caret, selectionAnchor);
}

void setContentType(IBusEngine* engine, guint purpose, guint hints) {
    if (g_parentClass->set_content_type != nullptr) g_parentClass->set_content_type(engine, purpose, hints);
    self(engine).state->client.field().setSecure(purpose == IBUS_INPUT_PURPOSE_PASSWORD || purpose == IBUS_INPUT_PURPOSE_PIN);
}

void setCapabilities(IBusEngine* engine, guint capabilities) {
    if ((capabilities & IBUS_CAP_SURROUNDING_TEXT) == 0) self(engine).state->client.field().forget();
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

}  // namespace

const char* ibusEngineName(InputMethodLayout layout) {
    return layout == InputMethodLayout::ru ? "tarvelo-ru" : "tarvelo-us";
}

std::optional<InputMethodLayout> ibusLayoutOfEngine(std::string_view engineName) {
    if (engineName == "tarvelo-us") return InputMethodLayout::us;
    if (engineName == "tarvelo-ru") return InputMethodLayout::ru;
    return std::nullopt;
}

IbusBackend::IbusBackend() {
    ibus_init();
    bus_ = ibus_bus_new();
    g_backend = this;
    g_signal_connect(bus_, "disconnected", G_CALLBACK(+[](IBusBus*, gpointer data) {
                         auto* backend = static_cast<IbusBackend*>(data);
                         // The factory lived on the connection that ended.
                         if (backend->factory_ != nullptr) g_object_unref(std::exchange(backend->factory_, nullptr));
                         backend->disconnected();
                     }),
                     this);
    g_signal_connect(bus_, "connected", G_CALLBACK(+[](IBusBus*, gpointer data) {
                         auto* backend = static_cast<IbusBackend*>(data);
                         if (backend->servesEngines_) backend->registerEngines();
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
    servesEngines_ = true;
    if (!isConnected()) return false;
    if (factory_ == nullptr) {
        factory_ = ibus_factory_new(ibus_bus_get_connection(bus_));
        g_object_ref_sink(factory_);
        for (const InputMethodLayout layout : {InputMethodLayout::us, InputMethodLayout::ru}) {
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

bool IbusBackend::processKey(TarveloIbusEngine& engine, unsigned keyval, unsigned keycode, unsigned state) {
    return InputMethodBackend::processKey(engine.state->client, layoutOf(&engine.parent), keyval, keycode,
                                          state & ~static_cast<unsigned>(IBUS_RELEASE_MASK),
                                          (state & IBUS_RELEASE_MASK) != 0);
}

void IbusBackend::focusIn(TarveloIbusEngine& engine) {
    InputMethodBackend::focusIn(engine.state->client, layoutOf(&engine.parent));
}

void IbusBackend::focusOut(TarveloIbusEngine& engine) { InputMethodBackend::focusOut(engine.state->client); }

void IbusBackend::destroyed(TarveloIbusEngine& engine) { InputMethodBackend::destroyed(engine.state->client); }

bool IbusBackend::selectKeyboardLayout(KeyboardLayout layout) {
    const InputMethodLayout wanted = layout == KeyboardLayout::russian ? InputMethodLayout::ru : InputMethodLayout::us;
    if (currentLayout() == wanted) return true;
    if (!inputSourcesOpened_ && isConnected()) {
        inputSourcesOpened_ = true;
        inputSources_ = GnomeShellInputSources::open(bus_);
    }
    return inputSources_ != nullptr && inputSources_->select(ibusEngineName(wanted));
}

}  // namespace tarvelo::desktop
