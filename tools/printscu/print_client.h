#pragma once

#include "test_image.h"

#include <chrono>
#include <string>
#include <vector>

struct T_ASC_Association;
struct T_ASC_Network;
struct T_DIMSE_Message;
class DcmDataset;

namespace vantorel::tools {

inline constexpr const char* presentationLutClass = "1.2.840.10008.5.1.1.23";

struct ClientOptions {
    std::string host = "127.0.0.1";
    int port = 10000;
    std::string callingAe = "PRINTSCU";
    std::string calledAe = "ZQ";
    bool color = false;  // propose the color meta class first; RGB images
    bool echo = false;
    std::string syntax;  // only this transfer syntax: implicit, little, big; empty: all three
    bool getPrinter = true;
    std::string format = "STANDARD\\1,1";
    std::string filmSize = "14INX17IN";
    std::string orientation = "PORTRAIT";
    int filmBoxes = 1;         // per film session
    std::string copies = "1";  // Number of Copies of each film session, as sent; empty: left out
    int imagesPerFilm = -1;    // N-SET only the first N image boxes of each film box; -1: all
    int sessions = 1;          // film sessions, one after the other
    PixelKind kind = PixelKind::Mono12;
    int imageSize = 256;
    std::vector<std::string> imageFiles;
    std::string action = "box";  // box, session, none
    bool deleteObjects = true;
    bool orphanFilmBoxes = false;  // film boxes name a film session that was never created
    bool abortAtEnd = false;
    std::string stopAfter;        // session, filmbox, nset, action: end the association there
    long cutNSetAfterBytes = -1;  // cut the connection inside the first N-SET data set
    int claimRows = 0;            // image size the N-SET claims, whatever its pixels
    int claimColumns = 0;
    int extraCommand = -1;                // command field sent after the film session N-CREATE
    std::vector<std::string> getObjects;  // N-GET of these instances before the sessions
    bool getCreated = false;              // N-GET every object created, before the deletes
    std::string waitForFile;              // after the association is accepted, wait until it exists
    std::vector<std::string> tryObjects;  // N-GET, N-SET, N-ACTION, N-DELETE of each; refusals go on
    std::string sessionUid;         // the film session's UID, as the modality's own (empty: the server's)
    std::string pauseBeforeAction;  // before each N-ACTION, wait until this file exists
    bool latency = false;           // print each request's round trip
    int timeoutSeconds = 60;
    // What the modality asks of the printed image, as sent; empty: left out.
    std::string polarity;          // (2020,0020) of every image box
    std::string requestedSize;     // (2020,0030) of every image box, millimetres
    std::string pixelAspect;       // (0028,0034) of every image, "V\\H"
    std::string minDensity;        // (2010,0120) of the film box
    std::string maxDensity;        // (2010,0130) of the film box
    std::string borderDensity;     // (2010,0100) of the film box
    std::string emptyDensity;      // (2010,0110) of the film box
    std::string trim;              // (2010,0140) of the film box
    std::string magnification;     // (2010,0060) of the film box
    std::string boxMagnification;  // (2010,0060) of every image box
    std::string smoothing;         // (2010,0080) of the film box
    // A Presentation LUT created before the film session: a shape ("IDENTITY",
    // "LIN OD", any text), or "table:inverse", "table:identity" for an
    // explicit 256-entry LUT, "table:short" for one with missing entries.
    std::string presentationLut;
    std::string lutAt = "film-box";  // who references it: image-box, film-box, session
};

// A modality simulator: one run is one association.
class PrintClient {
public:
    explicit PrintClient(ClientOptions options);
    ~PrintClient();

    // 0 when every step succeeded, 1 when one failed.
    int run();

private:
    bool connect();
    bool session();
    bool echo();
    bool getPrinter();
    bool getObject(const std::string& cls, const std::string& uid);
    bool createPresentationLut();
    void referencePresentationLut(DcmDataset& data, const char* level) const;
    bool createFilmSession(std::string& uid);
    bool createFilmBox(const std::string& session, std::string& uid,
                       std::vector<std::pair<std::string, std::string>>& boxes);
    bool setImageBox(const std::pair<std::string, std::string>& box, int cell);
    bool action(const std::string& cls, const std::string& uid);
    bool remove(const std::string& cls, const std::string& uid);
    bool extraCommand(const std::string& session);
    void tryObject(const std::string& uid);
    bool nAction(const std::string& cls, const std::string& uid, const std::string& label);
    bool nDelete(const std::string& cls, const std::string& uid, const std::string& label);
    bool nSet(const std::string& cls, const std::string& uid, DcmDataset& data, const std::string& label);
    bool exchange(T_DIMSE_Message& request, DcmDataset* data, const std::string& label,
                  DcmDataset** reply = nullptr);
    bool sendCut(T_DIMSE_Message& request, DcmDataset* data);
    void end();

    ClientOptions options_;
    T_ASC_Network* network_ = nullptr;
    T_ASC_Association* association_ = nullptr;
    unsigned char printContext_ = 0;
    unsigned char echoContext_ = 0;
    unsigned char lutContext_ = 0;
    std::string presentationLutUid_;
    unsigned short messageId_ = 0;
    bool ended_ = false;   // no further steps
    bool closed_ = false;  // released, aborted or dropped
    bool cutDone_ = false;
    char uidBuffer_[100] = {};
    std::vector<std::pair<std::string, std::string>> imageBoxesSeen_;  // class, instance
};

}  // namespace vantorel::tools
