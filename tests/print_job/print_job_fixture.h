#pragma once

#include "direct_composition/composition_fixture.h"
#include "print_job/print_job_driver.h"
#include "print_job/print_job_observer.h"
#include "print_job/template_road.h"
#include "print_service/print_object_store.h"
#include "print_service/sop_uids.h"
#include "settings/print_count.h"
#include "settings/settings_model.h"
#include "support/memory_run_log.h"
#include "support/recording_surface.h"

#include <dcmtk/dcmdata/dcdeftag.h>
#include <dcmtk/dcmdata/dcitem.h>
#include <dcmtk/dcmdata/dcsequen.h>

#include <optional>
#include <string>
#include <vector>

namespace vantorel::print_job::testing {

namespace ps = print_service;
namespace dc = direct_composition;

class MemoryPrintCount final : public settings::PrintCountStore {
public:
    std::int32_t read() const override { return value; }
    void write(std::int32_t count) override
    {
        value = count;
        writes.push_back(count);
    }
    std::int32_t value = 0;
    std::vector<std::int32_t> writes;
};

class RecordingObserver final : public PrintJobObserver {
public:
    void printCountChanged(std::int32_t count) override { counts.push_back(count); }
    void filmComposed(const dc::FilmPage& page) override { pages.push_back(page); }
    void printerProblemChanged(const std::string& problem) override { problems.push_back(problem); }
    std::vector<std::int32_t> counts;
    std::vector<dc::FilmPage> pages;
    std::vector<std::string> problems;
};

// The recording surface with a printer that can be made to refuse pages, as a
// full disk or a refusing print queue does.
class RefusingSurface final : public vantorel::testing::RecordingSurface {
public:
    using RecordingSurface::RecordingSurface;
    std::string refusal;  // non-empty: every page is refused with this reason

protected:
    dc::PageRelease releasePage(const dc::FilmPage&) override
    {
        return refusal.empty() ? dc::PageRelease{} : dc::PageRelease::refused(refusal);
    }
};

class RecordingTemplate final : public TemplateComposition {
public:
    explicit RecordingTemplate(base::RunLog& log) : log_(log) {}
    void composeFilm(const TemplateFilm& film) override { films.push_back(film); }
    FilmResult PrintReport() override
    {
        log_.write("PrintReport");
        return refusal.empty() ? FilmResult::handedOver() : FilmResult::failed(refusal);
    }
    std::vector<TemplateFilm> films;
    std::string refusal;  // non-empty: PrintReport says the film did not print

private:
    base::RunLog& log_;
};

// One image of a film box: an 8-bit grey (or RGB) picture of one value.
struct ImageFields {
    int columns = 64;
    int rows = 64;
    std::uint8_t value = 200;
    bool colour = false;
};

struct FilmBoxFields {
    std::int16_t cols = 1;
    std::int16_t rows = 1;
    std::string r_c;
    std::string filmSize = "14INX17IN";
    std::string orientation = "PORTRAIT";            // empty: attribute absent
    std::vector<std::optional<ImageFields>> images;  // one per image box; nullopt: no image sent
};

// A store filled as the request handler fills it, the driver over a recording
// surface with printers "A", "B", "C" and "FilmFile", and plain settings: no
// black base, no header, no bottom adjustment, no margins.
struct PrintJobFixture {
    PrintJobFixture()
        : templateRoad(log),
          driver(PrintJobParts{store, settings, settings, count, surface, pictures, templateRoad, log,
                               messages, "/srv/film", observer})
    {
        settings.blackBase = 0;
        settings.printHeader = 0;
        settings.header.htjcs = 0;
        settings.marginBottom = 0;
        settings.marginLeft = 0;
        settings.marginTop = 0;
    }

    // `copies`: Number of Copies as sent; nullptr leaves it out.
    std::string addFilmSession(const char* copies = nullptr)
    {
        ps::PrintObject& session = store.newDataSet();
        session.attributes().putAndInsertString(DCM_SOPClassUID, ps::sop::basicFilmSession);
        if (copies != nullptr)
            session.attributes().putAndInsertString(DCM_NumberOfCopies, copies);
        const std::string uid = "1.2.3.session." + std::to_string(++serial);
        store.assignInstanceUid(session, uid);
        return uid;
    }

    std::string addFilmBox(const FilmBoxFields& fields, const std::string& sessionUid = {})
    {
        ps::PrintObject& box = store.newDataSet();
        box.attributes().putAndInsertString(DCM_SOPClassUID, ps::sop::basicFilmBox);
        if (!fields.orientation.empty())
            box.attributes().putAndInsertString(DCM_FilmOrientation, fields.orientation.c_str());
        const std::string uid = "1.2.3.box." + std::to_string(++serial);
        store.assignInstanceUid(box, uid);
        ps::FilmBoxFormat format;
        format.FilmSize = fields.filmSize;
        format.FormatCols = fields.cols;
        format.FormatRows = fields.rows;
        format.r_c = fields.r_c;
        format.decoded = true;
        format.imageBoxCount = static_cast<int>(fields.images.size());
        box.setFilmBoxFormat(format);

        for (const auto& image : fields.images) {
            const std::string imageUid = addImageBox(image);
            box.appendChild({ps::sop::basicGrayscaleImageBox, imageUid});
            auto* item = new DcmItem;
            item->putAndInsertString(DCM_ReferencedSOPClassUID, ps::sop::basicGrayscaleImageBox);
            item->putAndInsertString(DCM_ReferencedSOPInstanceUID, imageUid.c_str());
            box.attributes().insertSequenceItem(DCM_ReferencedImageBoxSequence, item);
        }
        if (!sessionUid.empty()) {
            store.Dataset("", sessionUid)->appendChild({ps::sop::basicFilmBox, uid});
            auto* session = new DcmItem;
            session->putAndInsertString(DCM_ReferencedSOPClassUID, ps::sop::basicFilmSession);
            session->putAndInsertString(DCM_ReferencedSOPInstanceUID, sessionUid.c_str());
            box.attributes().insertSequenceItem(DCM_ReferencedFilmSessionSequence, session);
        }
        return uid;
    }

    std::string addImageBox(const std::optional<ImageFields>& image)
    {
        ps::PrintObject& imageBox = store.newDataSet();
        const std::string uid = "1.2.3.image." + std::to_string(++serial);
        store.assignInstanceUid(imageBox, uid);
        if (!image)
            return uid;
        auto* item = new DcmItem;
        const int samples = image->colour ? 3 : 1;
        item->putAndInsertUint16(DCM_SamplesPerPixel, static_cast<Uint16>(samples));
        item->putAndInsertString(DCM_PhotometricInterpretation, image->colour ? "RGB" : "MONOCHROME2");
        item->putAndInsertUint16(DCM_Rows, static_cast<Uint16>(image->rows));
        item->putAndInsertUint16(DCM_Columns, static_cast<Uint16>(image->columns));
        item->putAndInsertUint16(DCM_BitsAllocated, 8);
        item->putAndInsertUint16(DCM_BitsStored, 8);
        item->putAndInsertUint16(DCM_HighBit, 7);
        item->putAndInsertUint16(DCM_PixelRepresentation, 0);
        if (image->colour)
            item->putAndInsertUint16(DCM_PlanarConfiguration, 0);
        const std::vector<Uint8> pixels(static_cast<std::size_t>(image->columns) * image->rows * samples,
                                        image->value);
        item->putAndInsertUint8Array(DCM_PixelData, pixels.data(), pixels.size());
        imageBox.attributes().insertSequenceItem(
            image->colour ? DCM_BasicColorImageSequence : DCM_BasicGrayscaleImageSequence, item);
        return uid;
    }

    static std::vector<std::optional<ImageFields>> images(int n, ImageFields fields = {})
    {
        return std::vector<std::optional<ImageFields>>(n, fields);
    }

    ps::PrintObjectStore store;
    settings::Settings settings;
    MemoryPrintCount printCount;             // the stored count
    settings::PrintCount count{printCount};  // the run's count
    RefusingSurface surface{{"A", "B", "C", "FilmFile"}};
    dc::testing::FakeHeaderPictures pictures;
    vantorel::testing::MemoryRunLog log;
    dc::testing::RecordedMessages messages;
    RecordingObserver observer;
    RecordingTemplate templateRoad;
    PrintJobDriver driver;
    int serial = 0;
};

}  // namespace vantorel::print_job::testing
