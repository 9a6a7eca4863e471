// The overview's sections that run across its reports: the software of the
// fleet (every program, its versions as a bar of their shares, the computers
// that have each) and the computers that need attention (each rule's value,
// the lowest free space as a bar), with their style sheet and script.
#pragma once

#include <span>
#include <string_view>

#include "fleet/fleet.h"
#include "html/line_writer.h"

namespace rptconv {

// Both sections, for the inside of <main>.
void WriteFleetSections(LineWriter& out, const Fleet& fleet);

// Lines for the page's <style> and <script>, after the modern page's own.
std::span<const std::string_view> FleetStyleSheet();
std::span<const std::string_view> FleetScript();

}  // namespace rptconv
