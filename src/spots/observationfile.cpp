#include "observationfile.h"

#include "spotreport.h"

namespace helidisk {

namespace {

using Json = nlohmann::ordered_json;

// A field of an object, of the kind asked; SpotError naming it otherwise.
template <typename T>
T Field(const Json& object, const char* name) {
  const auto found = object.find(name);
  if (found == object.end()) throw SpotError(std::string("the field \"") + name + "\" is missing");
  try {
    return found->get<T>();
  } catch (const Json::exception&) {
    throw SpotError(std::string("the field \"") + name + "\" is not what it should be");
  }
}

const Json& Member(const Json& object, const char* name, Json::value_t kind) {
  const auto found = object.find(name);
  if (found == object.end() || found->type() != kind) {
    throw SpotError(std::string("the field \"") + name + "\" is missing or damaged");
  }
  return *found;
}

SpotPlace PlaceFrom(const Json& json) {
  return {Field<double>(json, "x_px"),
          Field<double>(json, "y_px"),
          Field<double>(json, "latitude_deg"),
          Field<double>(json, "longitude_deg"),
          Field<double>(json, "cm_distance_deg"),
          Field<double>(json, "mu"),
          Field<double>(json, "position_angle_deg")};
}

DetectedSpot SpotFrom(const Json& json) {
  DetectedSpot spot;
  spot.place = PlaceFrom(json);
  spot.pixels = Field<int>(json, "pixels");
  spot.areaMsh = Field<double>(json, "area_msh");
  spot.umbraAreaMsh = Field<double>(json, "umbra_area_msh");
  spot.partial = Field<bool>(json, "partial");
  spot.group = Field<int>(json, "group");
  for (const Json& umbra : Member(json, "umbrae", Json::value_t::array)) {
    spot.umbrae.push_back(
        {PlaceFrom(umbra), Field<int>(umbra, "pixels"), Field<double>(umbra, "area_msh")});
  }
  return spot;
}

// Whether the observer chose the class; files before the choice was
// recorded hold proposals only.
bool ChosenByObserver(const Json& json, const char* key) {
  const auto source = json.find(key);
  if (source == json.end()) return false;
  const auto text = Field<std::string>(json, key);
  if (text != ClassSource(true) && text != ClassSource(false)) {
    throw SpotError(std::string("a group's ") + key + " is neither " + ClassSource(true) + " nor " +
                    ClassSource(false));
  }
  return text == ClassSource(true);
}

SpotGroup GroupFrom(const Json& json, std::size_t spotCount) {
  SpotGroup group;
  group.number = Field<int>(json, "group");
  for (const Json& member : Member(json, "members", Json::value_t::array)) {
    const int spot = member.is_number_integer() ? member.get<int>() : 0;
    if (spot < 1 || static_cast<std::size_t>(spot) > spotCount) {
      throw SpotError("group " + std::to_string(group.number) + " names a spot that is not there");
    }
    group.spots.push_back(spot - 1);
  }
  const auto hemisphere = Field<std::string>(json, "hemisphere");
  if (hemisphere != "N" && hemisphere != "S") throw SpotError("a group's hemisphere is not N or S");
  group.hemisphere = hemisphere == "N" ? Hemisphere::North : Hemisphere::South;
  group.latitudeDeg = Field<double>(json, "latitude_deg");
  group.longitudeDeg = Field<double>(json, "longitude_deg");
  group.cmDistanceDeg = Field<double>(json, "cm_distance_deg");
  group.longitudeExtentDeg = Field<double>(json, "longitude_extent_deg");
  group.countedSpots = Field<int>(json, "spots");
  group.areaMsh = Field<double>(json, "area_msh");
  const auto zurich = Field<std::string>(json, "zurich");
  if (zurich.size() != 1) throw SpotError("a group's Zurich class is not one letter");
  group.zurichClass = zurich.front();
  group.mcIntoshClass = Field<std::string>(json, "mcintosh");
  group.zurichChosen = ChosenByObserver(json, "zurich_source");
  group.mcIntoshChosen = ChosenByObserver(json, "mcintosh_source");
  if ((group.zurichChosen && !IsZurichClass(group.zurichClass)) ||
      (group.mcIntoshChosen && !IsMcIntoshClass(group.mcIntoshClass))) {
    throw SpotError("group " + std::to_string(group.number) + " has a class that does not exist");
  }
  if (const auto region = json.find("region"); region != json.end() && !region->is_null()) {
    group.region = Field<int>(json, "region");
  }
  return group;
}

HemisphereCounts HemisphereFrom(const Json& json) {
  return {Field<int>(json, "g"), Field<int>(json, "f")};
}

Json DiskJson(const ObservedDisk& disk) {
  return {{"cx", disk.centreXPx},
          {"cy", disk.centreYPx},
          {"radius", disk.radiusPx},
          {"p_deg", disk.pDeg},
          {"b0_deg", disk.b0Deg},
          {"l0_deg", disk.l0Deg},
          {"orientation", disk.orientation},
          {"rotation_deg", disk.rotationDeg}};
}

ObservedDisk DiskFrom(const Json& json) {
  return {Field<double>(json, "cx"),
          Field<double>(json, "cy"),
          Field<double>(json, "radius"),
          Field<double>(json, "p_deg"),
          Field<double>(json, "b0_deg"),
          Field<double>(json, "l0_deg"),
          Field<std::string>(json, "orientation"),
          Field<double>(json, "rotation_deg")};
}

// The spots carry their group's region number and the observer's classes,
// as edits expect; the proposals are the detection's again.
void CarryChoices(SpotGroup& group, std::vector<DetectedSpot>& spots) {
  for (const int spot : group.spots) {
    spots[spot].region = group.region;
    spots[spot].zurichClass = group.zurichChosen ? group.zurichClass : char{0};
    spots[spot].mcIntoshClass = group.mcIntoshChosen ? group.mcIntoshClass : std::string();
  }
  group.zurichProposal = ZurichClassOf(group, spots);
  group.mcIntoshProposal = McIntoshClassOf(group, spots);
}

}  // namespace

std::string ObservationText(const SunspotObservation& observation) {
  const DetectionSettings& detection = observation.detection;
  Json json = {
      {"format", kObservationFormat},
      {"version", kObservationVersion},
      {"image",
       {{"path", observation.imagePath},
        {"sha256", observation.imageSha256},
        {"width", observation.imageWidthPx},
        {"height", observation.imageHeightPx}}},
      {"time", {{"utc", observation.utc}, {"jd", observation.julianDay}}},
      {"disk", DiskJson(observation.disk)},
      {"detection",
       {{"penumbra", detection.penumbraFraction},
        {"umbra", detection.umbraFraction},
        {"min_spot_px", detection.minimumSpotPx},
        {"min_umbra_px", detection.minimumUmbraPx},
        {"group_distance_deg", observation.linkDistanceDeg}}},
      {"spots", SpotsJson(observation.spots)},
      {"groups", GroupsJson(observation.groups)},
      {"counts", CountsJson(observation.counts)},
      {"observer", observation.observerCode},
      {"seeing", observation.seeing ? Json(*observation.seeing) : Json(nullptr)},
      {"notes", observation.notes},
  };
  return json.dump(2) + "\n";
}

SunspotObservation ParseObservation(const std::string& text) {
  const Json json = Json::parse(text, nullptr, false);
  if (json.is_discarded()) throw SpotError("it is not JSON, or it is cut short");
  if (!json.is_object() || json.value("format", std::string()) != kObservationFormat) {
    throw SpotError("it is not a helidisk sunspot observation");
  }
  if (Field<int>(json, "version") > kObservationVersion) {
    throw SpotError("it was written by a later helidisk (version " +
                    std::to_string(json["version"].get<int>()) + ")");
  }
  SunspotObservation observation;
  const Json& image = Member(json, "image", Json::value_t::object);
  observation.imagePath = Field<std::string>(image, "path");
  observation.imageSha256 = Field<std::string>(image, "sha256");
  observation.imageWidthPx = Field<int>(image, "width");
  observation.imageHeightPx = Field<int>(image, "height");
  const Json& time = Member(json, "time", Json::value_t::object);
  observation.utc = Field<std::string>(time, "utc");
  observation.julianDay = Field<double>(time, "jd");
  observation.disk = DiskFrom(Member(json, "disk", Json::value_t::object));
  const Json& detection = Member(json, "detection", Json::value_t::object);
  observation.detection.penumbraFraction = Field<double>(detection, "penumbra");
  observation.detection.umbraFraction = Field<double>(detection, "umbra");
  observation.detection.minimumSpotPx = Field<int>(detection, "min_spot_px");
  observation.detection.minimumUmbraPx = Field<int>(detection, "min_umbra_px");
  observation.linkDistanceDeg = Field<double>(detection, "group_distance_deg");
  for (const Json& spot : Member(json, "spots", Json::value_t::array)) {
    observation.spots.push_back(SpotFrom(spot));
  }
  for (const Json& group : Member(json, "groups", Json::value_t::array)) {
    observation.groups.push_back(GroupFrom(group, observation.spots.size()));
    CarryChoices(observation.groups.back(), observation.spots);
  }
  const Json& counts = Member(json, "counts", Json::value_t::object);
  observation.counts.whole = HemisphereFrom(counts);
  observation.counts.k = Field<double>(counts, "k");
  observation.counts.north = HemisphereFrom(Member(counts, "north", Json::value_t::object));
  observation.counts.south = HemisphereFrom(Member(counts, "south", Json::value_t::object));
  observation.observerCode = Field<std::string>(json, "observer");
  if (const auto seeing = json.find("seeing"); seeing != json.end() && !seeing->is_null()) {
    observation.seeing = Field<int>(json, "seeing");
  }
  observation.notes = Field<std::string>(json, "notes");
  return observation;
}

}  // namespace helidisk
