#pragma once

#include <string>
#include <string_view>

#include "gpx/waypoint_text.h"

namespace waymint::gpx {

// What a waypoint holds from its POI's tags beside the name, written for a GPX in one
// encoding (gpx/waypoint_text.h): the texts of the Garmin address fields, the phone number
// and the description. Empty where the POI has nothing.
struct WaypointDetails {
  std::string street;      // addr:full, else house number and street in the country's order
  std::string city;        // addr:city, else addr:place
  std::string state;       // addr:state
  std::string country;     // addr:country
  std::string postalCode;  // addr:postcode
  std::string phone;       // the first number of phone, else of contact:phone
  // "Opening hours: …", "Website: …" and "Phone: …" for the numbers after the first, joined
  // by " | ".
  std::string description;
};

// The details of a node record (the text after its "<node ").
WaypointDetails detailsOf(std::string_view record, GpxEncoding encoding);

// The name a POI without a name tag gets from its brand, else its operator, as the file
// writes it; empty when it has neither.
std::string_view brandOrOperator(std::string_view record);

// Whether the record has a tag whose key begins with "name", which names it.
bool hasNameTag(std::string_view record);

}  // namespace waymint::gpx
