#include "platform/ProcessReplacement.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <vector>

#include <unistd.h>

namespace ProcessReplacement {

QString replaceWith(const QString& program, const QStringList& arguments) {
    QList<QByteArray> words{QFile::encodeName(program)};
    for (const QString& argument : arguments)
        words.append(argument.toLocal8Bit());
    std::vector<char*> argv;
    for (QByteArray& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    ::execv(argv.front(), argv.data());
    return QString::fromLocal8Bit(std::strerror(errno));
}

} // namespace ProcessReplacement
