// The figures of one instant as a JSON object, for --json and the JSON
// table alike.
#pragma once

#include <nlohmann/json.hpp>

#include "ephemerisrecord.h"

namespace helidisk {

// The record's figures under their names, in the order of RecordFields.
nlohmann::ordered_json RecordJson(const EphemerisRecord& record);

// Sets the record's figures in `json`, an object made by RecordJson or an
// empty one: the names stay where they are, so that one object can be
// refilled row after row without being made anew.
void FillRecordJson(nlohmann::ordered_json& json, const EphemerisRecord& record);

}  // namespace helidisk
