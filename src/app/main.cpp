#include "core/job.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    std::printf("Zenkoro %s\n", qPrintable(zk::VersionText()));
    return 0;
}
