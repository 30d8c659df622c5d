// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What Tarvelo's fcitx5 module and the running Tarvelo say to each other on the session bus. The module
// is thin: it hands each key of fcitx5's focused input context to Tarvelo and applies the answer, and
// Tarvelo's one process keeps the pipeline, its settings and its statistics. Both sides include this
// header and nothing else of each other's.
//
// Tarvelo owns kBusName and serves kObjectPath with kInterface:
//
//   ProcessKey(t client, s inputMethod, u keysym, u evdevCode, u state, b release, b secret,
//              b offersText, b textChanged, s text, u cursor, u anchor, s frontend)
//              -> (b handled, a(us) edits, s select)
//     One key of input context `client` (a number the module gives each input context), in the input
//     method `inputMethod` ("keyboard-us", "keyboard-ru", or another, whose keys Tarvelo leaves alone).
//     `state` is the X11 modifier mask as fcitx5 gives it, `evdevCode` the evdev code (fcitx5's X key
//     code less 8). `secret` marks a password or PIN field (its text is never sent). `offersText` says
//     whether the client offers its surrounding text at all; `textChanged` that `text` (UTF-8), `cursor`
//     and `anchor` (in characters) differ from what was last sent for this client: otherwise they are
//     empty and Tarvelo keeps what it knows. The text is cut to at most kTextBefore characters before
//     the cursor and kTextAfter after it. `frontend` is fcitx5's name for the way the client reaches it
//     ("wayland" through the compositor's text input, "dbus" through fcitx5's own modules, ...).
//     The answer: whether fcitx5 must filter the key (the client does not see it), the edits to make in
//     order, each "delete this many characters before the cursor, then commit this text" (either part
//     may be empty), and the input method to select afterwards ("" for none).
//   FocusIn(t client, s inputMethod), FocusOut(t client), Reset(t client), Forget(t client),
//   Missed(t client)
//     The client gained or lost focus, was reset, or is gone; or keys of it went past Tarvelo, which did
//     not answer in time, and an answer it gave late was not applied. The module does not wait for the
//     answer.
//   signal Edits(t client, a(us) edits), signal Select(t client, s inputMethod)
//     Edits Tarvelo makes outside a key (a command from its menu), to apply as ProcessKey's, and the
//     input method to select once a correction has been confirmed after its key.
inline constexpr const char* kFcitx5BusName = "dev.brinmoor.Tarvelo.Fcitx5";
inline constexpr const char* kFcitx5ObjectPath = "/dev/brinmoor/Tarvelo/Fcitx5";
inline constexpr const char* kFcitx5Interface = "dev.brinmoor.Tarvelo.Fcitx5";
inline constexpr unsigned kFcitx5TextBefore = 400;
inline constexpr unsigned kFcitx5TextAfter = 100;
// How long the module waits for an answer before it lets the key pass, and how long it then leaves
// Tarvelo alone (unless Tarvelo's name changes owner). An answer takes well under a millisecond for most
// keys and a few at a delimiter, but the first correction in each language loads its dictionary (50 to
// 180 ms measured): a key let pass then would leave Tarvelo's idea of the text wrong, so the wait is
// longer than that.
inline constexpr unsigned kFcitx5CallTimeoutMilliseconds = 300;
inline constexpr unsigned kFcitx5QuietAfterTimeoutSeconds = 3;
