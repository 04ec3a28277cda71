// Events: the record that carries one notification to a handler, the event
// numbers, and the lookup of the handler bound to an event. Portable.
#pragma once
#include <cstdint>
#include <optional>
#include <span>

#include "windows/description.h"

namespace vorrik {

struct EventRecord {
  uint32_t window = 0;
  uint32_t item = 0;  // 0: the window's own item
  int32_t event = 0;
  uint32_t argumentCount = 0;
  uint32_t arguments[5] = {};
  bool answered = false;
  int32_t answer = 0;
};

// Window events.
enum WindowEvent : int32_t {
  kEventCreated = 0,
  kEventCloseQuery = 1,
  kEventDestroying = 2,
  kEventMoved = 3,
  kEventResized = 4,
  kEventActivated = 5,
  kEventDeactivated = 6,
  kEventIdle = 7,
  kEventFirstActivated = 8,
  kEventShown = 10,
  kEventHidden = 11,
};
constexpr int32_t kEventFocusGained = -7, kEventFocusLost = -8;
constexpr int32_t kEventClicked = 0;    // Button
constexpr int32_t kEventTimerTick = 0;  // Timer

// A handler gets the record's arguments in order; its value, if it returns
// one, answers the event (the close query asks a question).
using HandlerRoutine = std::optional<int32_t> (*)(std::span<const uint32_t> arguments);

enum class EventOutcome { kHandler, kNoHandler, kUnknownItem, kInvalidKind };

struct EventTarget {
  EventOutcome outcome = EventOutcome::kNoHandler;
  int32_t handler = kNoHandler;
};

// Whether the shell has the kind and controls of it raise events.
bool KindRaisesEvents(uint32_t kindCode);

// The handler of an event of an item of one window: a menu item has a single
// slot used whatever the number; other items have (event, handler) pairs, the
// first pair with the number winning. A reference of -1 is no handler.
EventTarget FindEventHandler(const ControlTable& table, uint32_t item, int32_t event);

}  // namespace vorrik
