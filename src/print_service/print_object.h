#pragma once

#include <dcmtk/dcmdata/dcdatset.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vantorel::print_service {

// Names a print object by its SOP Class UID and SOP Instance UID. Links between
// objects are held this way, so a link to a removed object simply finds nothing.
struct ObjectRef {
    std::string classUid;
    std::string instanceUid;
};

// The film grid and film size of one film box, decoded at its own N-CREATE.
// Printing a film box uses these, not the service-wide FilmParameters.
struct FilmBoxFormat {
    std::string displayFormat;    // Image Display Format (2010,0010) as received
    std::string FilmSize;         // Film Size ID (2010,0050) as received
    std::int16_t FormatCols = 0;  // X of DecodeFormat (or the value in force when it failed)
    std::int16_t FormatRows = 0;  // Y of DecodeFormat (likewise)
    std::string r_c;              // "ROW", "COL" or empty
    std::vector<int> lines;       // ROW/COL: images in each row (column), in order
    bool decoded = false;         // false when the format text could not be decoded
    int imageBoxCount = 0;        // image boxes created: childObjects().size() at creation
};

// One stored print object: a DICOM data set with its children. The SOP
// Instance UID under which the store finds it is fixed when the store assigns
// it; an N-SET that changes (0008,0018) changes the attribute only.
class PrintObject {
public:
    PrintObject();
    ~PrintObject();
    PrintObject(const PrintObject&) = delete;
    PrintObject& operator=(const PrintObject&) = delete;

    DcmDataset& attributes() { return *attributes_; }
    const DcmDataset& attributes() const { return *attributes_; }

    std::string sopClassUid() const;  // (0008,0016), empty when absent
    const std::string& sopInstanceUid() const { return instanceUid_; }
    ObjectRef ref() const { return {sopClassUid(), instanceUid_}; }

    // Film session: its film boxes in creation order; film box: its image boxes
    // in cell order; any other object: empty. Appended to, never reordered; a
    // removed child stays named here.
    const std::vector<ObjectRef>& childObjects() const { return children_; }
    void appendChild(ObjectRef child) { children_.push_back(std::move(child)); }

    // Set for film boxes at their N-CREATE.
    const std::optional<FilmBoxFormat>& filmBoxFormat() const { return filmBoxFormat_; }
    void setFilmBoxFormat(FilmBoxFormat format) { filmBoxFormat_ = std::move(format); }

private:
    friend class PrintObjectStore;
    std::unique_ptr<DcmDataset> attributes_;
    std::string instanceUid_;
    std::uint64_t order_ = 0;  // when it was named, over the whole store
    std::vector<ObjectRef> children_;
    std::optional<FilmBoxFormat> filmBoxFormat_;
};

// The film sessions created on one association, in creation order.
using AssociationFilmSessions = std::vector<ObjectRef>;

}  // namespace vantorel::print_service
