// Every option of the command line, said once for the parser, its error
// messages and the help text.
#include "optionparser.h"

namespace helidisk::optionparsing {

namespace {

// "one of sky, mirror, ...", for the message that refuses a bad name.
std::string OrientationChoices() {
  std::string choices = "one of";
  for (const Orientation orientation : kOrientations) {
    choices += (orientation == kOrientations[0] ? " " : ", ") + OrientationName(orientation);
  }
  return choices;
}

// "one of rigid, howard, ...", for the message that refuses a bad name.
std::string RotationModelChoices() {
  std::string choices = "one of";
  for (const RotationModel& model : RotationModels()) {
    choices += (&model == RotationModels().data() ? " " : ", ") + std::string(model.name);
  }
  return choices;
}

}  // namespace

const std::vector<OptionSection>& OptionTable() {
  static const std::vector<OptionSection> table = {
      {"Choosing the instant (UT):",
       {
           {"--year", "Y", "a whole year, -2147483648 to 2147483647",
            "the year whose 1 January, 0 h UT, is hour 0 (default: the year of the local "
            "clock); any whole year, numbered astronomically (0 = 1 BC); a year beyond the "
            "reach of the calendar routines fails with their run-time error",
            &Parser::TakeYear},
           {"--hour", "H", "a whole hour 0 to " + std::to_string(kLastHourPosition),
            "whole hours since then, 0 to " + std::to_string(kLastHourPosition) +
                " (default 0), as the window's scroll bar",
            &Parser::TakeHour},
           {"--at", "YYYY-MM-DDTHH:MM", "an instant in UT as YYYY-MM-DDTHH:MM",
            "any instant to the minute instead; the year is the instant's and the hours "
            "since its 1 January, 0 h UT, are a real number; cannot be combined with --year "
            "or --hour",
            &Parser::TakeInstant},
       }},
      {"The picture:",
       {
           {"--grid", "diff|fixed|stonyhurst", "diff, fixed or stonyhurst",
            "differentially rotating (default) or rigid heliographic grid, or the Stonyhurst "
            "grid fixed to the observer: meridians every 10 degrees of central-meridian "
            "distance, the central meridian thick, parallels every 10 degrees, at the "
            "instant's B0 and P in the chosen orientation",
            &Parser::TakeGrid},
           {"--orientation", "NAME", OrientationChoices(),
            "how the picture is meant to be read: sky (north up, east left; the default), "
            "mirror (north up, east right, as a star diagonal shows it), inverted (south up, "
            "east right, as a telescope or a projection screen shows it), inverted-mirror "
            "(south up, east left), or solar-north (the rotation axis upright; the readout "
            "still gives the true P)",
            &Parser::TakeOrientation},
           {"--size", "WxH", "WIDTHxHEIGHT, each 1 to " + std::to_string(kLargestControlSide),
            "size of the window's picture control, each side 1 to " +
                std::to_string(kLargestControlSide) + " (default " +
                std::to_string(kDesignControlWidth) + "x" + std::to_string(kDesignControlHeight) +
                "); the image is two pixels narrower and shorter and the disk sits where the "
                "window puts it; with --align, N alone: the side of the square frames",
            &Parser::TakeSize},
           {"--output", "FILE",
            "a file name ending in .png, .svg or .pdf, or - for standard output",
            "write the picture: FILE.png as a raster image, FILE.svg as a vector drawing "
            "with one element per drawing operation, FILE.pdf as a page with the disk at its "
            "true size and the readout below it; with --image, also FILE.jpg, or FILE.fits "
            "with the observer's geometry in its header; --output - writes to standard output "
            "and then needs --format; with --align, the folder DIR/ the frames go into",
            &Parser::TakeOutput},
           {"--format", "png|svg|pdf|jpeg|fits|csv|json|text",
            "png, svg, pdf, jpeg or fits for a picture, csv, json or text for a table",
            "the picture format (png, svg or pdf, or jpeg or fits for --image), overriding the "
            "file name's extension; or, with --table, the table's: csv (RFC 4180 with a header "
            "line, every number exact with "
            "a full stop whatever the locale), json (one array of objects) or text (aligned "
            "columns for reading, degrees to two decimals; the default unless FILE ends in "
            ".csv or .json)",
            &Parser::TakeFormat},
       }},
      {"An observer's image:",
       {
           {"--image", "FILE", "a PNG, JPEG, TIFF or FITS file (also gzipped or tile-compressed)",
            "draw the grid over this solar image, scaled to its disk: the disk from a FITS "
            "header's solar coordinates where it has them, otherwise fitted to the limb; the "
            "instant from the file (FITS DATE-OBS, the photograph's EXIF time with its "
            "offset) unless --at gives it; a helioprojective FITS image is read with solar "
            "north up, turned by its CROTA2, unless --orientation, --rotation or --site say "
            "otherwise; --output writes the image with the grid at its full size as PNG or "
            "JPEG, and --locate X,Y takes a pixel of the image",
            &Parser::TakeImage},
           {"--rotation", "DEG",
            "an angle in degrees, -" + std::to_string(kLargestRotationDeg) + " to " +
                std::to_string(kLargestRotationDeg),
            "the image is turned counterclockwise by DEG from the orientation (a camera not "
            "aligned with north)",
            &Parser::TakeRotation},
           {"--site", "LAT,LON",
            "LAT,LON in degrees, latitude -90 to 90 (north positive), "
            "longitude -180 to 180 (east positive)",
            "the image was taken on an alt-azimuth mount with the zenith up at this site: its "
            "angle follows from the Sun's parallactic angle at the instant",
            &Parser::TakeSite},
       }},
      {"Sunspots on the image:",
       {
           {"--detect", "", "",
            "find the sunspots on the --image: regions darker than --penumbra times the quiet "
            "disk's level at their place (its centre-to-limb curve fitted), umbrae darker than "
            "--umbra times it; each spot's place (pixel, latitude, Carrington longitude, "
            "central-meridian distance, mu, position angle) and area in millionths of the "
            "hemisphere corrected pixel by pixel for foreshortening; groups by single linkage "
            "within --group-distance; counts g, f (each umbra a spot, a pore one) and "
            "R = 10g + f, also north and south; with --json on standard output, with --output "
            "FILE the spot table",
            &Parser::TakeDetect},
           {"--table-format", "csv|json", "csv or json",
            "the spot table's format for --output (default: by the file's extension)",
            &Parser::TakeTableFormat},
           {"--penumbra", "F", "a fraction between 0 and 1",
            "a spot is darker than F times the quiet disk (default 0.85)", &Parser::TakePenumbra},
           {"--umbra", "F", "a fraction between 0 and 1",
            "an umbra is darker than F times the quiet disk (default 0.55)", &Parser::TakeUmbra},
           {"--min-spot", "PX", "a whole number of pixels, 1 to 100000",
            "smaller dark regions are ignored as noise or dust (default 5)",
            &Parser::TakeMinimumSpot},
           {"--group-distance", "DEG", "degrees, greater than 0 and at most 30",
            "spots whose centroids lie within DEG on the sphere belong to one group, and so do "
            "chains of them (default 6)",
            &Parser::TakeGroupDistance},
           {"--k", "K", "a factor greater than 0 and at most 10",
            "the observer's personal factor: kR is reported beside R (default 1)", &Parser::TakeK},
           {"--group-table", "FILE", "a file name ending in .csv or .json",
            "write one row a group (group, hemisphere, latitude_deg, longitude_deg, "
            "cm_distance_deg, longitude_extent_deg, spots, area_msh, zurich, zurich_source, "
            "mcintosh, mcintosh_source, region) "
            "as CSV or JSON by the file's extension",
            &Parser::TakeGroupTable},
           {"--report-line", "", "",
            "print the day's report line (CSV with its header: Date, UT, Seeing, g, f, R, Ng, "
            "Nf, Sg, Sf, k, Obs)",
            &Parser::TakeReportLine},
           {"--observer", "CODE", "letters, digits, - and _, at most 16",
            "the observer's code in the report line", &Parser::TakeObserver},
           {"--seeing", "N", "a whole number 1 to 5",
            "the seeing, 1 excellent to 5 very poor, in the report line", &Parser::TakeSeeing},
           {"--month-file", "FILE", "a file name",
            "put the day's report line into this month file (made when missing; the line of the "
            "same date, UT and observer replaced)",
            &Parser::TakeMonthFile},
           {"--observation", "FILE", "a file name",
            "write the observation file (JSON: the image and its SHA-256, the time, the disk, "
            "spots, groups and counts); a file there that is not an observation is refused",
            &Parser::TakeObservationFile},
       }},
      {"An aligned sequence of images:",
       {
           {"--images", "FILE...", "one or more PNG, JPEG, TIFF or FITS files",
            "the observer's images of a sequence, in the order the frames should follow; "
            "every argument up to the next option is one",
            &Parser::TakeImages, true},
           {"--align", "", "",
            "write each of --images as a square frame into the folder --output DIR/: the disk "
            "centred, with one radius for all, solar north up, stamped with its time, as "
            "NAME-aligned.png (the geometry in text chunks) and NAME-aligned.fits (DATE-OBS, "
            "CRPIX, CDELT, CROTA2, RSUN_OBS, DSUN_OBS, HGLT_OBS, HGLN_OBS, CRLN_OBS); the disk, "
            "the instant and the camera's angle are read as for --image, and --orientation, "
            "--rotation or --site apply to every image; an image whose disk or time cannot be "
            "read is reported and skipped, and the run then ends with status 1; --rotate-to T "
            "with --model NAME de-rotates every frame to the instant T; --size N sets "
            "the frames' side (default " +
                std::to_string(kDefaultAlignedSide) + ")",
            &Parser::TakeAlign},
           {"--movie", "FILE.webp", "a file name ending in .webp",
            "with --align, also gather the frames into an animated WebP, ten frames a second",
            &Parser::TakeMovie},
       }},
      {"The printed page (PDF):",
       {
           {"--diameter", "LENGTH",
            "a length greater than 0 with its unit mm, cm or in, such as 150mm",
            "the disk's diameter on paper, the outer edge of its limb line, with its unit: "
            "150mm, 15cm or 5.9in (default 150mm); the page refuses a disk that does not fit "
            "it with the texts below",
            &Parser::TakeDiameter},
           {"--page", "A4|A3|Letter", "A4, A3 or Letter", "the paper, portrait (default A4)",
            &Parser::TakePage},
           {"--b0", "DEG", "a latitude in degrees, -90 to 90",
            "with --grid stonyhurst only: a template for this B0 alone, without an instant: "
            "the Stonyhurst grid with solar north up, and on a page \"B0 = ...\" below it "
            "instead of the readout",
            &Parser::TakeTemplateB0},
       }},
      {"The ephemeris:",
       {
           {"--ephemeris", "standard|precise", "standard or precise",
            "standard (the default): the window's low-precision theory, P and B0 to about "
            "0.01 deg, L0 to 0.15 deg, any instant; precise: ERFA's Earth (eraEpv00), IAU "
            "2006/2000B precession-nutation and the IAU rotation elements of the Sun, P, B0 "
            "and L0 to well under 1 arc second for 1900-01-01 to 2100-12-31 (UTC) only, as "
            "SunPy's sunpy.coordinates.sun: light time from the Sun's near surface, no "
            "stellar aberration in L0 and B0.  Its time scale: TAI - UTC from the "
            "leap-second table; before 1960 and after the table Delta T from Espenak & "
            "Meeus (NASA 2006), good to under a second before 1960 but a prediction after "
            "the table, uncertain by up to a minute or more by 2100 (L0 moves 0.59 arc "
            "seconds per second of time)",
            &Parser::TakeEphemeris},
           {"--aberration", "", "",
            "with --ephemeris precise: L0 and B0 with stellar aberration, as the "
            "Astronomical Almanac prints them (L0 about 20.5 arc seconds lower)",
            &Parser::TakeAberration},
       }},
      {"The readout:",
       {
           {"--readout", "", "",
            "print the ten readout texts, one a line, UTF-8, in the order JD, date, time, "
            "RA, Dec, distance, semi-diameter, P, B0, L0",
            &Parser::TakeReadout},
           {"--json", "", "",
            "print the instant as one JSON object instead of the readout texts: utc, jd, "
            "ra_hours, dec_deg, distance_au, semidiameter_arcsec, p_deg, b0_deg, l0_deg, "
            "carrington_rotation, carrington_fraction, orientation, the disk (cx, cy, radius "
            "in the picture's pixels) and, with --locate, the point, with --feature the feature",
            &Parser::TakeJson},
           {"--locate", "X,Y", "a pixel X,Y of the picture, two real numbers",
            "print what the pixel X,Y of the picture shows (x to the right, y downward, 0,0 "
            "the centre of the top-left pixel, at the chosen --size and --orientation): "
            "on_disk, latitude_deg, longitude_deg, cm_distance_deg (east negative), mu, rho "
            "(distance from the centre in disk radii) and position_angle_deg (from north "
            "through east), one name: value line each, - where undefined off the disk; the "
            "projection is the grid's own orthographic one",
            &Parser::TakeLocate},
           {"--feature", "B,L", "B,L in degrees, latitude -90 to 90, Carrington longitude 0 to 360",
            "print a feature at heliographic latitude B and Carrington longitude L at the "
            "instant: where the rotation law puts it at --rotate-to (latitude_deg, "
            "longitude_deg, cm_distance_deg, mu, x and y in the pixels of the picture at that "
            "instant, whose disk disk_cx, disk_cy and disk_radius give, visible on the "
            "hemisphere facing the Earth) and when it next crosses the central meridian and "
            "the west limb; with --json as the object \"feature\"",
            &Parser::TakeFeature},
           {"--rotate-to", "YYYY-MM-DDTHH:MM", "an instant in UT as YYYY-MM-DDTHH:MM",
            "carry the --feature, or the point under the --locate pixel, from the instant to "
            "this one (earlier or later) by the rotation law; the observer's view there comes "
            "from the ephemeris of that instant. --locate then adds the point's rotated_ "
            "lines, with --json the object \"rotated\" in \"point\"; with --align, the instant "
            "every frame is de-rotated to",
            &Parser::TakeRotateTo},
           {"--model", "NAME", RotationModelChoices(),
            "the rotation law: rigid (the Carrington rate), howard (the default), snodgrass "
            "or allen",
            &Parser::TakeModel},
           {"--decimal-separator", "C", "exactly one character",
            "the Julian day's decimal separator, one character (default: that of the user's "
            "locale)",
            &Parser::TakeDecimalSeparator},
       }},
      {"The ephemeris table:",
       {
           {"--table", "", "",
            "print the ephemeris for a run of instants instead of a picture, one row an "
            "instant, with the figures and names of --json (utc, jd, ra_hours, dec_deg, "
            "distance_au, semidiameter_arcsec, p_deg, b0_deg, l0_deg, carrington_rotation, "
            "carrington_fraction), at most " +
                std::to_string(kMostTableRows) +
                " rows; to standard output, or with --output FILE into that file",
            &Parser::TakeTable},
           {"--from", "YYYY-MM-DD[THH:MM]", "a date YYYY-MM-DD or an instant YYYY-MM-DDTHH:MM",
            "the first row's instant in UT (default: 1 January, 0 h, of the year of --year or "
            "of the local clock)",
            &Parser::TakeTableFrom},
           {"--to", "YYYY-MM-DD[THH:MM]", "a date YYYY-MM-DD or an instant YYYY-MM-DDTHH:MM",
            "the last instant the rows may reach, included (default: the end of 31 December "
            "of the year of --year, or else of --from, or else of the local clock)",
            &Parser::TakeTableTo},
           {"--step", "N{m|h|d}",
            "a whole number of at least 1 followed by m, h or d, such as 30m, 6h or 1d",
            "the time from one row to the next: N minutes, hours or days (default 1d); every "
            "row falls on a whole minute, counted from --from",
            &Parser::TakeTableStep},
       }},
      {"",
       {
           {"--help", "", "", "show this text", &Parser::TakeHelp},
           {"--version", "", "", "show the program's version", &Parser::TakeVersion},
       }},
  };
  return table;
}

}  // namespace helidisk::optionparsing
