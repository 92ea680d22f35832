// libFuzzer harness of the reader of start messages, which reads what anyone
// may write to the running copy's socket. Any input is read as a message; one
// read whole must be written back as a message that reads the same; one read
// as incomplete must really lack bytes its length declares. The sanitizers
// catch a read past the input or an allocation the input did not pay for.

#include "desktop/start_message.h"

#include <QtEndian>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void Require(bool holds, const char *rule)
{
    if (!holds) {
        std::fprintf(stderr, "broken rule: %s\n", rule);
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView input(reinterpret_cast<const char *>(data), qsizetype(size));
    const StartMessageRead read = ReadStartMessage(input);
    using Outcome = StartMessageRead::Outcome;
    if (read.outcome == Outcome::Incomplete)
        Require(size < 4 || qFromBigEndian<quint32>(data) > size - 4, "incomplete with all its bytes there");
    if (read.outcome != Outcome::Whole)
        return 0;
    const StartMessageRead again = ReadStartMessage(StartMessage(read.request));
    Require(again.outcome == Outcome::Whole, "a message written from a request does not read whole");
    Require(again.request.arguments == read.request.arguments, "the arguments do not read back");
    Require(again.request.workingFolder == read.request.workingFolder, "the working folder does not read back");
    return 0;
}
