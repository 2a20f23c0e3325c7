// vantorel-printscu: a modality simulator for installers and tests. One run is
// one DICOM association that prints films on a print server.

#include "print_client.h"

#include <dcmtk/dcmdata/dcdict.h>
#include <dcmtk/oflog/oflog.h>

#include <cstdlib>
#include <iostream>
#include <string>

namespace {

using vantorel::tools::ClientOptions;
using vantorel::tools::PixelKind;

const char* usage =
    "Usage: vantorel-printscu [options] HOST PORT\n"
    "One association: [C-ECHO], N-GET Printer, then per film session: N-CREATE film session,\n"
    "N-CREATE film box(es), N-SET of every image box, N-ACTION, N-DELETE; release.\n"
    "Each response's status (and Error Comment) is printed; the exit code is 0 when\n"
    "every step succeeded, 1 when one failed (status other than 0x0000, no answer,\n"
    "association aborted), 2 on a usage error.\n"
    "\n"
    "Association:\n"
    "  --aet TITLE          calling AE title (default PRINTSCU)\n"
    "  --aec TITLE          called AE title (default ZQ)\n"
    "  --color              propose Basic Color Print Management first, RGB images\n"
    "  --echo               send a C-ECHO first\n"
    "  --syntax implicit|little|big  propose only Implicit VR Little Endian, Explicit VR\n"
    "                       Little Endian or Explicit VR Big Endian (default: all three)\n"
    "  --no-printer         skip the N-GET of the Printer\n"
    "  --abort              end with an A-ABORT instead of a release\n"
    "  --timeout SECONDS    longest wait for a response (default 60)\n"
    "Films:\n"
    "  --format TEXT        Image Display Format (default STANDARD\\1,1)\n"
    "  --film-size TEXT     Film Size ID (default 14INX17IN)\n"
    "  --orientation TEXT   Film Orientation (default PORTRAIT)\n"
    "  --films N            film boxes per film session (default 1)\n"
    "  --copies TEXT        Number of Copies of each film session, as sent (default 1;\n"
    "                       \"none\" leaves it out)\n"
    "  --sessions N         film sessions, one after the other (default 1)\n"
    "  --action box|session|none  N-ACTION on each film box (default), on the session, or none\n"
    "  --no-delete          leave the film boxes and the film session in place\n"
    "  --orphan             create no film session: the film boxes name one that does not exist\n"
    "Images (one per image box; each synthetic image shows its cell number):\n"
    "  --bits 8|12          synthetic MONOCHROME2 depth (default 12)\n"
    "  --size N             synthetic image rows and columns (default 256)\n"
    "  --image FILE         pixel data of a DICOM file, repeatable, used in turn\n"
    "  --images N           N-SET only the first N image boxes of each film box; the\n"
    "                       others stay empty\n"
    "What the modality asks of the printed image (sent as given):\n"
    "  --polarity TEXT      Polarity of every image box (NORMAL, REVERSE)\n"
    "  --requested-size MM  Requested Image Size of every image box\n"
    "  --pixel-aspect V\\H  Pixel Aspect Ratio of every image\n"
    "  --min-density N, --max-density N  of the film box (hundredths of OD)\n"
    "  --border-density TEXT, --empty-density TEXT  Border and Empty Image Density of\n"
    "                       the film box (BLACK, WHITE or hundredths of OD)\n"
    "  --trim TEXT          Trim of the film box (YES, NO)\n"
    "  --magnification TEXT Magnification Type of the film box (REPLICATE, BILINEAR,\n"
    "                       CUBIC, NONE)\n"
    "  --box-magnification TEXT  Magnification Type of every image box\n"
    "  --smoothing TEXT     Smoothing Type of the film box\n"
    "  --presentation-lut LUT   N-CREATE a Presentation LUT first: a shape (IDENTITY,\n"
    "                       \"LIN OD\", any text), or table:inverse, table:identity\n"
    "                       (256 entries of 8 bits), table:short (entries missing)\n"
    "  --lut-at image-box|film-box|session  who references it (default film-box)\n"
    "Faults, for testing a server:\n"
    "  --stop-after session|filmbox|nset|action   end the association at that step\n"
    "  --cut-nset BYTES     cut the connection inside the first N-SET's data set\n"
    "  --claim ROWSxCOLS    N-SET images claim this size, whatever their pixel data\n"
    "  --command HEX        after the film session N-CREATE send command 0x0100\n"
    "                       (N-EVENT-REPORT) or 0x0020 (C-FIND) instead of printing\n"
    "Other:\n"
    "  --get UID            N-GET of that instance before the film sessions, repeatable\n"
    "  --get-created        N-GET of every object created, before the N-DELETEs\n"
    "  --wait-for FILE      once associated, wait until FILE exists\n"
    "  --try UID            N-GET, N-SET, N-ACTION and N-DELETE of that instance (as a film\n"
    "                       box; the Printer's UID as the Printer, with an N-CREATE of it)\n"
    "                       before the film sessions, repeatable; refusals do not end the run\n"
    "  --session-uid UID    create the film session under this UID\n"
    "  --pause-before-action FILE  before each N-ACTION, wait until FILE exists\n"
    "  --latency            print \"latency REQUEST MICROSECONDS\" per request\n"
    "  --help               this text\n";

bool parse(int argc, char** argv, ClientOptions& options, std::string& error)
{
    std::vector<std::string> positional;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc) {
                error = arg + " needs a value";
                return {};
            }
            return argv[++i];
        };
        if (arg == "--aet")
            options.callingAe = value();
        else if (arg == "--aec")
            options.calledAe = value();
        else if (arg == "--color")
            options.color = true;
        else if (arg == "--echo")
            options.echo = true;
        else if (arg == "--syntax") {
            options.syntax = value();
            if (options.syntax != "implicit" && options.syntax != "little" && options.syntax != "big")
                error = "--syntax takes implicit, little or big";
        } else if (arg == "--no-printer")
            options.getPrinter = false;
        else if (arg == "--abort")
            options.abortAtEnd = true;
        else if (arg == "--timeout")
            options.timeoutSeconds = std::atoi(value().c_str());
        else if (arg == "--format")
            options.format = value();
        else if (arg == "--film-size")
            options.filmSize = value();
        else if (arg == "--orientation")
            options.orientation = value();
        else if (arg == "--films")
            options.filmBoxes = std::atoi(value().c_str());
        else if (arg == "--copies") {
            options.copies = value();
            if (options.copies == "none")
                options.copies.clear();
        } else if (arg == "--images")
            options.imagesPerFilm = std::atoi(value().c_str());
        else if (arg == "--sessions")
            options.sessions = std::atoi(value().c_str());
        else if (arg == "--action")
            options.action = value();
        else if (arg == "--no-delete")
            options.deleteObjects = false;
        else if (arg == "--orphan")
            options.orphanFilmBoxes = true;
        else if (arg == "--bits") {
            const std::string bits = value();
            if (bits != "8" && bits != "12")
                error = "--bits takes 8 or 12";
            options.kind = bits == "8" ? PixelKind::Mono8 : PixelKind::Mono12;
        } else if (arg == "--size")
            options.imageSize = std::atoi(value().c_str());
        else if (arg == "--image")
            options.imageFiles.push_back(value());
        else if (arg == "--polarity")
            options.polarity = value();
        else if (arg == "--requested-size")
            options.requestedSize = value();
        else if (arg == "--pixel-aspect")
            options.pixelAspect = value();
        else if (arg == "--min-density")
            options.minDensity = value();
        else if (arg == "--max-density")
            options.maxDensity = value();
        else if (arg == "--border-density")
            options.borderDensity = value();
        else if (arg == "--empty-density")
            options.emptyDensity = value();
        else if (arg == "--trim")
            options.trim = value();
        else if (arg == "--magnification")
            options.magnification = value();
        else if (arg == "--box-magnification")
            options.boxMagnification = value();
        else if (arg == "--smoothing")
            options.smoothing = value();
        else if (arg == "--presentation-lut")
            options.presentationLut = value();
        else if (arg == "--lut-at") {
            options.lutAt = value();
            if (options.lutAt != "image-box" && options.lutAt != "film-box" && options.lutAt != "session")
                error = "--lut-at takes image-box, film-box or session";
        } else if (arg == "--stop-after")
            options.stopAfter = value();
        else if (arg == "--cut-nset")
            options.cutNSetAfterBytes = std::atol(value().c_str());
        else if (arg == "--claim") {
            const std::string size = value();
            if (std::sscanf(size.c_str(), "%dx%d", &options.claimRows, &options.claimColumns) != 2)
                error = "--claim takes ROWSxCOLS";
        } else if (arg == "--command")
            options.extraCommand = static_cast<int>(std::strtol(value().c_str(), nullptr, 16));
        else if (arg == "--get")
            options.getObjects.push_back(value());
        else if (arg == "--get-created")
            options.getCreated = true;
        else if (arg == "--wait-for")
            options.waitForFile = value();
        else if (arg == "--try")
            options.tryObjects.push_back(value());
        else if (arg == "--session-uid")
            options.sessionUid = value();
        else if (arg == "--pause-before-action")
            options.pauseBeforeAction = value();
        else if (arg == "--latency")
            options.latency = true;
        else if (!arg.empty() && arg[0] == '-')
            error = "unknown option " + arg;
        else
            positional.push_back(arg);
        if (!error.empty())
            return false;
    }
    if (positional.size() != 2) {
        error = "HOST and PORT are needed";
        return false;
    }
    options.host = positional[0];
    options.port = std::atoi(positional[1].c_str());
    if (options.color && options.imageFiles.empty())
        options.kind = PixelKind::Rgb;
    if (options.imageSize < 8 || options.imageSize > 4096) {
        error = "--size takes 8 to 4096";
        return false;
    }
    if (options.action != "box" && options.action != "session" && options.action != "none") {
        error = "--action takes box, session or none";
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i)
        if (std::string(argv[i]) == "--help" || std::string(argv[i]) == "-h") {
            std::cout << usage;
            return 0;
        }
    ClientOptions options;
    std::string error;
    if (!parse(argc, argv, options, error)) {
        std::cerr << "vantorel-printscu: " << error << "\n" << usage;
        return 2;
    }
    // DCMTK's own warnings would mix with the step lines on the terminal.
    OFLog::configure(OFLogger::ERROR_LOG_LEVEL);
    // Load the data dictionary now, so that its reading is not timed as part
    // of the first request.
    dcmDataDict.rdlock();
    dcmDataDict.rdunlock();
    return vantorel::tools::PrintClient(options).run();
}
