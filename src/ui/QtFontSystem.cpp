#include "ui/QtFontSystem.h"

#include <QFile>
#include <QFontDatabase>
#include <QRawFont>
#include <QStringDecoder>
#include <QtEndian>
#include <algorithm>
#include <array>
#include <vector>

namespace yakdrom {

namespace {

// OpenType 'name' table: a 6-byte header (format, count, string offset), then 12-byte
// records (platform, encoding, language, name id, length, offset).
constexpr qsizetype kNameHeaderSize = 6;
constexpr qsizetype kNameRecordSize = 12;
constexpr quint16 kMacintoshPlatform = 1;
// The full name and the PostScript name: the two names a face is known by.
constexpr std::array<quint16, 2> kFaceNameIds = {4, 6};
// Any size reads the same tables.
constexpr qreal kTablePixelSize = 12;

quint16 readU16(const QByteArray& data, qsizetype at) {
  return qFromBigEndian<quint16>(data.constData() + at);
}

// Macintosh names are 8-bit and face names keep to ASCII there; the other platforms store
// UTF-16 big-endian.
QString decodeName(quint16 platform, const QByteArray& bytes) {
  if (platform == kMacintoshPlatform) return QString::fromLatin1(bytes);
  QStringDecoder decoder(QStringConverter::Utf16BE);
  return decoder.decode(bytes);
}

bool isFaceName(quint16 nameId) {
  return std::find(kFaceNameIds.begin(), kFaceNameIds.end(), nameId) != kFaceNameIds.end();
}

std::vector<QString> faceNames(const QByteArray& table) {
  std::vector<QString> names;
  if (table.size() < kNameHeaderSize) return names;
  const qsizetype count = readU16(table, 2);
  const qsizetype strings = readU16(table, 4);
  for (qsizetype i = 0; i < count; ++i) {
    const qsizetype record = kNameHeaderSize + (i * kNameRecordSize);
    if (record + kNameRecordSize > table.size()) break;
    const qsizetype length = readU16(table, record + 8);
    const qsizetype start = strings + readU16(table, record + 10);
    if (!isFaceName(readU16(table, record + 6)) || start + length > table.size()) continue;
    names.push_back(decodeName(readU16(table, record), table.mid(start, length)));
  }
  return names;
}

}  // namespace

std::optional<Font> QtFontSystem::font(std::string_view name, double pointSize) const {
  const QString family = QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
  if (QFontDatabase::families().contains(family)) return Font{std::string(name), pointSize};
  if (const auto face = faces_.find(name); face != faces_.end()) {
    return Font{face->second, pointSize};
  }
  return std::nullopt;
}

// Qt lists only families, while a setting may name a face. The face's own names are read
// from the file's name table rather than pieced together from family and style, because
// the style words (Regular, R, Book) are whatever the font's maker chose. QRawFont reads
// only the first face of a collection, so only that face is known by its own names.
FontRegistration QtFontSystem::registerFontFile(const std::filesystem::path& file) {
  if (registered_.contains(file)) return {true, {}};
  QFile source(file);
  if (!source.open(QIODevice::ReadOnly)) {
    return {false, "cannot read the font file: " + source.errorString().toStdString()};
  }
  const QByteArray data = source.readAll();
  const int id = QFontDatabase::addApplicationFontFromData(data);
  if (id == -1) return {false, "Qt could not load the font file"};
  const QStringList families = QFontDatabase::applicationFontFamilies(id);
  if (!families.isEmpty()) {
    const QRawFont raw(data, kTablePixelSize);
    for (const QString& face : faceNames(raw.fontTable("name"))) {
      faces_.try_emplace(face.toStdString(), families.front().toStdString());
    }
  }
  registered_.insert(file);
  return {true, {}};
}

Font QtFontSystem::systemFont(double pointSize) const { return Font::system(pointSize); }

}  // namespace yakdrom
