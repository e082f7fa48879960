#include "TextCodec.h"

#include <QByteArray>
#include <QString>
#include <QStringDecoder>
#include <QStringEncoder>

#include <limits>

namespace quarnet::platform {

namespace {

bool fitsQt(std::string_view text)
{
    return text.size() <= static_cast<std::size_t>(std::numeric_limits<qsizetype>::max() / 4);
}

} // namespace

std::string utf8ToGbk(std::string_view utf8)
{
    if (utf8.empty() || !fitsQt(utf8))
        return {};
    // Stateless: each text is complete, so a cut double-byte character at its
    // end is converted too instead of waiting for more input; so one
    // converter serves every call, and opening one per text is saved.
    thread_local QStringEncoder encoder("GBK", QStringConverter::Flag::Stateless);
    const QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    const QByteArray bytes = encoder.encode(text);
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

std::string gbkToUtf8(std::string_view gbk)
{
    if (gbk.empty() || !fitsQt(gbk))
        return {};
    thread_local QStringDecoder decoder("GBK", QStringConverter::Flag::Stateless);
    const QString text = decoder.decode(QByteArrayView(gbk.data(), static_cast<qsizetype>(gbk.size())));
    const QByteArray bytes = text.toUtf8();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

} // namespace quarnet::platform
