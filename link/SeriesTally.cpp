#include "link/SeriesTally.h"

#include "link/FieldSession.h"

SeriesTally::Kind SeriesTally::kindOf(const FieldResult& result)
{
    if (result.succeeded())
        return Kind::Written;
    // A failure in the verify step comes after a complete write.
    if (result.outcome == FieldResult::Outcome::Failed && result.step == FieldStep::Verify)
        return Kind::FailedVerify;
    return Kind::NotWritten;
}

void SeriesTally::add(const FieldResult& result)
{
    switch (kindOf(result)) {
    case Kind::Written:
        ++m_written;
        break;
    case Kind::FailedVerify:
        ++m_failedVerify;
        break;
    case Kind::NotWritten:
        ++m_notWritten;
        break;
    }
}
