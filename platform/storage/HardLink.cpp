#include "HardLink.h"

#include <QFile>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <cstring>
#include <unistd.h>
#endif

#include <string>

bool HardLink::make(const QString& existing, const QString& link, QString* why)
{
#ifdef _WIN32
    const std::wstring from = existing.toStdWString();
    const std::wstring to = link.toStdWString();
    if (CreateHardLinkW(to.c_str(), from.c_str(), nullptr) != 0)
        return true;
    if (why) {
        const DWORD code = GetLastError();
        wchar_t* text = nullptr;
        const DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM
                                                | FORMAT_MESSAGE_IGNORE_INSERTS,
                                            nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
        *why = length > 0 && text ? QString::fromWCharArray(text, int(length)).trimmed()
                                  : QStringLiteral("error %1").arg(code);
        if (text)
            LocalFree(text);
    }
    return false;
#else
    const QByteArray from = QFile::encodeName(existing);
    const QByteArray to = QFile::encodeName(link);
    if (::link(from.constData(), to.constData()) == 0)
        return true;
    if (why)
        *why = QString::fromLocal8Bit(std::strerror(errno));
    return false;
#endif
}
