// The command-line tool run in-process, its exit status and what it wrote on each stream.
#pragma once

#include "TableTool.h"

#include <QString>
#include <QStringList>
#include <sstream>
#include <string>
#include <vector>

struct Outcome {
    int Status = -1;
    QString Out;
    QString Err;
};

inline Outcome Run(const QStringList& args) {
    std::vector<std::string> bytes;
    for (const QString& arg : args) {
        bytes.push_back(arg.toStdString());
    }
    std::ostringstream out, err;
    const int status = TableTool::Run(bytes, out, err);
    return {status, QString::fromStdString(out.str()), QString::fromStdString(err.str())};
}
