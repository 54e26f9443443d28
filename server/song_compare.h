// The compare of a client's list (global id and change date per song or selection) with what an account
// keeps on the service: which ids the service deleted, which items the client lacks, which the client
// has newer (or the service does not know at all), and which the service has newer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "server/service_store.h"

namespace psalmora::server {

// A change date as a time: "dd.mm.yyyy-hh:mm" read as UTC, or a decimal number of seconds since 1970.
std::optional<std::int64_t> ParseChangeTime(std::string_view text);

enum class Newer { kNeither, kClient, kService };

// Equal texts: neither. Both times readable: the later one. Otherwise the service's version wins.
Newer CompareChangeDates(std::string_view clientDate, std::string_view serviceDate);

struct CompareOutcome {
  std::vector<std::string> deletedOnService;  // listed ids the account deleted
  std::vector<std::size_t> missingOnClient;   // positions in the live items the client did not list
  std::vector<std::string> newerOnClient;     // listed ids to send (newer, or unknown to the service)
  std::vector<std::size_t> newerOnService;    // positions in the live items the service has newer
};

// Every listed id counts once (its first stamp); results follow the client's order, the live positions
// the order of the live items.
CompareOutcome CompareStamps(const std::vector<ChangeStamp>& client, const ItemState& service,
                             std::size_t changedAtField);

}  // namespace psalmora::server
