// What runs across a batch's reports as JSON: the thresholds, per computer
// what needs attention and the values behind it, and every installed
// program with its versions and the computers that have each. Written
// straight from the fleet's aggregates, nothing gathered again.
#pragma once

#include <cstdint>
#include <span>

#include "export/json_writer.h"
#include "fleet/fleet.h"

namespace rptconv {

// Writes the object of the "fleet" member. `reports` gives, per computer
// of the fleet, its position among the index's reports.
void WriteFleetJson(JsonWriter& out, const Fleet& fleet, std::span<const std::uint32_t> reports);

}  // namespace rptconv
