#include "warteschlange.h"

#ifdef VARO_MIT_CUPS
#include <cups/cups.h>
#endif

namespace varo {

#ifdef VARO_MIT_CUPS

namespace {

// The IPP status of the last request in words; the print system's own
// text is English and stays out of the message.
QString grundFuer(ipp_status_t status)
{
    switch (status) {
    case IPP_STATUS_ERROR_NOT_ACCEPTING_JOBS:
        return QStringLiteral("die Warteschlange nimmt keine Aufträge an");
    case IPP_STATUS_ERROR_SERVICE_UNAVAILABLE:
    case IPP_STATUS_ERROR_TEMPORARY:
        return QStringLiteral("der Druckdienst ist nicht erreichbar");
    case IPP_STATUS_ERROR_INTERNAL: // also what a refused connection leaves
        return QStringLiteral("der Druckdienst ist nicht erreichbar oder gestört");
    case IPP_STATUS_ERROR_NOT_FOUND:
    case IPP_STATUS_ERROR_GONE:
        return QStringLiteral("die Warteschlange ist nicht vorhanden");
    case IPP_STATUS_ERROR_FORBIDDEN:
    case IPP_STATUS_ERROR_NOT_AUTHENTICATED:
    case IPP_STATUS_ERROR_NOT_AUTHORIZED:
    case IPP_STATUS_ERROR_CUPS_AUTHENTICATION_CANCELED:
        return QStringLiteral("der Auftrag wurde nicht zugelassen");
    default:
        return QStringLiteral("der Druckdienst meldet den Fehler 0x%1")
            .arg(unsigned(status), 4, 16, QLatin1Char('0'));
    }
}

} // namespace

QString letzterAuftragAbgelehnt(const QString &warteschlange)
{
    // Every request of the CUPS library leaves its status for the calling
    // thread; the last one was the job's submission.
    const ipp_status_t status = cupsLastError();
    if (status <= IPP_STATUS_OK_CONFLICTING)
        return {};
    return QStringLiteral("Der Drucker „%1“ hat den Auftrag nicht angenommen: %2.")
        .arg(warteschlange, grundFuer(status));
}

#else

QString letzterAuftragAbgelehnt(const QString &)
{
    return {};
}

#endif

} // namespace varo
