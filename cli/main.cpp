// rovi-cli: the reader from scripts. See `rovi-cli --help`.
#include "commands.h"
#include "options.h"

#include <QCoreApplication>

#include <iostream>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const auto parsed = rovi::cli::ParseCommandLine(QCoreApplication::arguments());
    if (const auto *message = std::get_if<rovi::cli::Message>(&parsed)) {
        (message->error ? std::cerr : std::cout) << message->text;
        return message->error ? rovi::cli::kExitUsage : rovi::cli::kExitDone;
    }
    return rovi::cli::Run(std::get<rovi::cli::Invocation>(parsed), std::cout, std::cerr);
}
