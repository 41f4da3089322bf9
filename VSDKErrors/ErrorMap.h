// The map from the event manager's login results to library codes and
// localized message ids, filled once on first use.
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>

// The row of an event-manager code; false when it has none. Fills the map first.
bool lookUpEventManagerCode(int eventManagerCode, std::pair<std::uint64_t, std::uint64_t>& row);

// For checks: the number of rows, and how many times the rows were inserted
// (1 once filled).
std::size_t errorMapSize();
int errorMapFillCount();
