#pragma once

// Whether a DICOM service answers on a loopback port: one association called
// "ZQ" that sends a C-ECHO and is released (DCMTK in this process, so it can
// be tried often).

#include <dcmtk/dcmnet/scu.h>
#include <dcmtk/oflog/oflog.h>

namespace vantorel::testing {

inline bool answersEcho(int port)
{
    // DCMTK's own progress lines ("I: Releasing Association") are not wanted.
    static const bool quiet = (OFLog::configure(OFLogger::WARN_LOG_LEVEL), true);
    (void)quiet;
    DcmSCU scu;
    scu.setPeerHostName("127.0.0.1");
    scu.setPeerPort(static_cast<Uint16>(port));
    scu.setPeerAETitle("ZQ");
    scu.setAETitle("PROBE");
    scu.setACSETimeout(5);
    scu.setDIMSEBlockingMode(DIMSE_NONBLOCKING);
    scu.setDIMSETimeout(5);
    OFList<OFString> syntaxes;
    syntaxes.push_back(UID_LittleEndianImplicitTransferSyntax);
    scu.addPresentationContext(UID_VerificationSOPClass, syntaxes);
    if (scu.initNetwork().bad() || scu.negotiateAssociation().bad())
        return false;
    const bool answered = scu.sendECHORequest(0).good();
    scu.releaseAssociation();
    return answered;
}

}  // namespace vantorel::testing
