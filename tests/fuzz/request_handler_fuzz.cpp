// libFuzzer target: random bytes become a run of normalised requests whose
// data sets are parsed as the network side parses them, then handled as the
// main thread handles them, against one store that lives across requests.
//
// Input layout, repeated until the bytes run out:
//   byte 0      command (N-GET, N-SET, N-ACTION, N-CREATE, N-DELETE or other)
//   byte 1      SOP class and instance: picked from the objects made so far
//   byte 2      transfer syntax of the data set; first presentation context
//   bytes 3..4  data set length n (little endian), then n bytes of data set

#include "base/run_log.h"
#include "print_service/associations.h"
#include "print_service/film_parameters.h"
#include "print_service/print_job_port.h"
#include "print_service/print_object_store.h"
#include "print_service/printer_object.h"
#include "print_service/request_handler.h"
#include "print_service/sop_uids.h"
#include "settings/settings_model.h"

#include <dcmtk/dcmdata/dcdeftag.h>
#include <dcmtk/dcmdata/dcistrmb.h>
#include <dcmtk/oflog/oflog.h>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

using namespace vantorel;
using namespace vantorel::print_service;

struct NullLog final : base::RunLog {
    bool write(const std::string&) override { return true; }
};

// Walks what an N-ACTION would print, as the print job driver does.
struct WalkingPrintJob final : PrintJobPort {
    explicit WalkingPrintJob(PrintObjectStore& store) : store_(store) {}
    PrintOutcome DoPrint(const std::string& ruid, const std::string&) override
    {
        const PrintObject* object = store_.Dataset({}, ruid);
        if (object == nullptr)
            return {};
        for (const PrintObject* child : store_.children(*object))
            for (const PrintObject* grandChild : store_.children(*child))
                (void)grandChild->attributes().card();
        return {};
    }
    PrintObjectStore& store_;
};

const std::uint16_t commands[] = {command::nGet,    command::nSet,         command::nAction, command::nCreate,
                                  command::nDelete, command::nEventReport, 0x0001,           0x8120};
const char* classes[] = {sop::basicFilmSession,
                         sop::basicFilmBox,
                         sop::basicGrayscaleImageBox,
                         sop::colorPrintMeta,
                         sop::printer,
                         sop::presentationLut,
                         "",
                         "1.2.3"};
const E_TransferSyntax syntaxes[] = {EXS_LittleEndianImplicit, EXS_LittleEndianExplicit,
                                     EXS_BigEndianExplicit};

std::unique_ptr<DcmDataset> parse(const std::uint8_t* data, std::size_t size, E_TransferSyntax syntax)
{
    auto dataSet = std::make_unique<DcmDataset>();
    DcmInputBufferStream stream;
    stream.setBuffer(data, static_cast<offile_off_t>(size));
    stream.setEos();
    dataSet->transferInit();
    const OFCondition cond = dataSet->read(stream, syntax);
    dataSet->transferEnd();
    if (cond.bad())
        return nullptr;  // the network side aborts such an association
    return dataSet;
}

}  // namespace

// DCMTK allocates an element's declared length before its bytes arrive
// (new (std::nothrow)), so a few bytes can ask for gigabytes. On a server that
// is address space, bounded by the received-data cap; under the sanitizer it
// is slow. Here such requests fail as on a machine without the memory, which
// DCMTK reports as a parse error.
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
    if (size > 64u * 1024 * 1024)
        return nullptr;
    try {
        return ::operator new[](size);
    } catch (...) {
        return nullptr;
    }
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static bool quiet = [] {
        OFLog::configure(OFLogger::FATAL_LOG_LEVEL);
        return true;
    }();
    (void)quiet;

    NullLog log;
    settings::Settings settings;
    PrintObjectStore store;
    FilmParameters film;
    WalkingPrintJob printJob(store);
    RequestHandler handler(store, film, settings, settings, printJob, log);
    Associations associations(store, handler, log);
    MakePrinterdataset(store, "ZQ", true, toolkitVersionText());

    AssociationInfo association{1, "FUZZ", "ZQ", "127.0.0.1", sop::grayscalePrintMeta};
    associations.associationRequested(association);
    std::vector<std::string> known{sop::printerInstance};

    std::size_t at = 0;
    while (at + 5 <= size) {
        const std::uint8_t commandByte = data[at];
        const std::uint8_t targetByte = data[at + 1];
        const std::uint8_t syntaxByte = data[at + 2];
        const std::size_t length = std::min<std::size_t>(data[at + 3] | (data[at + 4] << 8), size - at - 5);
        at += 5;

        NormalisedRequest request;
        request.commandField = commands[commandByte % 8];
        const std::string cls = classes[targetByte % 8];
        const std::string uid = (targetByte & 0x80) ? "1.2.9." + std::to_string(targetByte & 7)
                                                    : known[(targetByte >> 3) % known.size()];
        request.requestedSopClassUid = request.affectedSopClassUid = cls;
        request.requestedSopInstanceUid = uid;
        request.affectedSopInstanceUid = (commandByte & 0x80) ? uid : std::string();
        association.firstAbstractSyntax = (syntaxByte & 0x10) ? sop::colorPrintMeta : sop::grayscalePrintMeta;
        settings.forceConvert = (syntaxByte & 0x20) != 0;
        if (length > 0)
            request.dataSet = parse(data + at, length, syntaxes[syntaxByte % 3]);
        at += length;
        if (length > 0 && !request.dataSet)
            continue;

        NormalisedResponse response = associations.normalisedRequest(association, request);
        if (response.answered && !response.affectedSopInstanceUid.empty() && known.size() < 64) {
            known.push_back(response.affectedSopInstanceUid);
            if (const PrintObject* created = store.Dataset({}, response.affectedSopInstanceUid))
                for (const ObjectRef& child : created->childObjects())
                    if (known.size() < 64)
                        known.push_back(child.instanceUid);
        }
        if (response.dataSet) {
            // The response is encoded for sending, as the network side does.
            response.dataSet->chooseRepresentation(syntaxes[syntaxByte % 3], nullptr);
            (void)response.dataSet->calcElementLength(syntaxes[syntaxByte % 3], EET_ExplicitLength);
        }
    }
    associations.associationClosed(association.id);
    return 0;
}
