#include "app/scene_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QJsonValue>
#include <QString>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <sstream>

#include "pictures/kinds.h"
#include "plane/image_file.h"
#include "plane/number_text.h"

namespace vorla {
namespace {

constexpr const char* kFormat = "vorla-scene";

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

// A string as a JSON literal, quotes and escapes included.
std::string Quoted(const std::string& s) {
    const QByteArray a = QJsonDocument(QJsonArray{Q(s)}).toJson(QJsonDocument::Compact);
    return a.mid(1, a.size() - 2).toStdString();
}

// A value as the file shows it, for the messages, a long text shortened.
std::string Shown(const QJsonValue& v) {
    if (v.isString()) return Quoted(ShortText(v.toString().toStdString()));
    if (v.isBool()) return v.toBool() ? "true" : "false";
    if (v.isDouble()) return QString::number(v.toDouble(), 'g', 17).toStdString();
    if (v.isNull()) return "null";
    return v.isArray() ? "a list" : "an object";
}

// A whole number of [lo, hi], or nothing.
std::optional<long long> Whole(const QJsonValue& v, long long lo, long long hi) {
    if (!v.isDouble()) return std::nullopt;
    const double d = v.toDouble();
    if (!std::isfinite(d) || d != std::floor(d) || d < static_cast<double>(lo) ||
        d > static_cast<double>(hi))
        return std::nullopt;
    return static_cast<long long>(d);
}

std::string Range(long long lo, long long hi) {
    return "takes a whole number from " + std::to_string(lo) + " to " + std::to_string(hi);
}

// Checks one control's value and puts it into `into`; a failure says why.
Status PutControl(const ControlSpec& f, const QJsonValue& v, ControlValues& into) {
    switch (f.kind) {
        case ControlKind::Edit: {
            if (!v.isString()) return Failure{"takes a text in quotes, not " + Shown(v)};
            const QString text = v.toString();
            if (f.maxLength > 0 && text.size() > f.maxLength)
                return Failure{"takes at most " + std::to_string(f.maxLength) + " characters"};
            return into.Set(f.name, text.toStdString());
        }
        case ControlKind::Spin: {
            const std::optional<long long> n = Whole(v, f.min, f.max);
            if (!n) return Failure{Range(f.min, f.max) + ", not " + Shown(v)};
            return into.Set(f.name, std::to_string(*n));
        }
        case ControlKind::Check:
            if (!v.isBool()) return Failure{"takes true or false, not " + Shown(v)};
            return into.Set(f.name, v.toBool() ? "1" : "0");
        case ControlKind::ColourLabel:
            if (!v.isString() || !ParseColourText(v.toString().toStdString()))
                return Failure{"takes a colour name, #RRGGBB or r,g,b in quotes, not " + Shown(v)};
            return into.Set(f.name, v.toString().toStdString());
    }
    return {};
}

// Why a scene file cannot be read, by its errno.
Failure Unreadable(const std::string& path, int err) {
    return Failure{path + ": cannot be read: " + std::strerror(err)};
}

}  // namespace

std::string ColourValue(Colour c) {
    const std::string name = ColorText(c);
    const Result<Colour> back = ParseColourText(name);
    if (back && back.Value() == c) return name;
    char hex[8];
    std::snprintf(hex, sizeof hex, "#%02X%02X%02X", RedOf(c), GreenOf(c), BlueOf(c));
    return hex;
}

std::string ShortText(const std::string& text) {
    constexpr size_t kWhole = 60, kStart = 40;
    std::string shown = text;
    if (text.size() > kWhole) {
        size_t cut = kStart;
        while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
        shown = text.substr(0, cut) + "... (" + std::to_string(text.size()) + " bytes)";
    }
    // A line break or other control character would break the message's line.
    for (char& c : shown)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) c = '?';
    return shown;
}

Status CheckControlText(const ControlSpec& f, const std::string& text) {
    ControlValues check;
    if (f.kind == ControlKind::Edit ? TextToNumber(text, f.check).Ok()
                                    : check.Set(f.name, text).Ok())
        return {};
    const char* takes = f.kind == ControlKind::Spin          ? "a whole number"
                        : f.kind == ControlKind::Check       ? "on or off"
                        : f.kind == ControlKind::ColourLabel ? "a colour (a name, #RRGGBB or r,g,b)"
                        : f.check == RangeCheck::Positive    ? "a number above 0"
                        : f.check == RangeCheck::NonNegative ? "a number of 0 or more"
                                                             : "a number";
    return Failure{std::string(f.name) + " takes " + takes + ", not '" + ShortText(text) + "'"};
}

std::string SceneFileText(const SceneState& s) {
    std::ostringstream out;
    const PictureKindInfo* kind = FindPictureKind(s.pictureKind);
    out << "{\n    \"format\": \"" << kFormat << "\",\n    \"version\": " << kSceneVersion
        << ",\n    \"taskType\": " << TaskNumber(s.taskType)
        << ",\n    \"picture\": " << Quoted(kind ? kind->name : "none") << ",\n";
    if (s.width > 0 && s.height > 0)
        out << "    \"tabula\": {\"width\": " << s.width << ", \"height\": " << s.height << "},\n";
    out << "    \"controls\": {";
    const char* comma = "\n";
    for (const ControlSpec& f : ControlTable()) {
        out << comma << "        " << Quoted(f.name) << ": ";
        comma = ",\n";
        switch (f.kind) {
            case ControlKind::Edit:
                out << Quoted(s.controls.Text(f.id));
                break;
            case ControlKind::Spin:
                out << s.controls.Spin(f.id);
                break;
            case ControlKind::Check:
                out << (s.controls.Checked(f.id) ? "true" : "false");
                break;
            case ControlKind::ColourLabel:
                out << Quoted(ColourValue(s.controls.LabelColour(f.id)));
                break;
        }
    }
    out << "\n    }\n}\n";
    return out.str();
}

Result<SceneState> ParseSceneText(const std::string& text, const std::string& file,
                                  std::vector<std::string>* warnings) {
    auto bad = [&](const std::string& key, const std::string& why) {
        return Failure{file + ": " + key + ": " + why};
    };
    int unknown = 0;  // the unknown keys: the first few are named, the others counted
    auto warn = [&](const std::string& key) {
        if (warnings && ++unknown <= kMaxSceneWarnings)
            warnings->push_back(file + ": unknown key " + ShortText(key) + " ignored");
    };
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(text), &error);
    if (error.error != QJsonParseError::NoError)
        return Failure{file + ": not a readable scene: " + error.errorString().toStdString() +
                       " at character " + std::to_string(error.offset)};
    const QJsonObject root = doc.object();
    if (!doc.isObject() || root.value("format").toString() != kFormat)
        return bad("format",
                   std::string("not a Vorla scene (\"format\" is not \"") + kFormat + "\")");
    for (const char* key : {"version", "taskType", "controls"})
        if (root.value(key).isUndefined()) return bad(key, "the key is missing");
    const QJsonValue version = root.value("version");
    if (!Whole(version, 1, 1'000'000'000))
        return bad("version", "takes a whole number from 1, not " + Shown(version));
    if (version.toInt() > kSceneVersion)
        return bad("version", "the file is of version " + std::to_string(version.toInt()) +
                                  ", newer than this program reads (" +
                                  std::to_string(kSceneVersion) + "); it was not opened");

    SceneState s;
    const QJsonValue task = root.value("taskType");
    const std::optional<long long> taskType = Whole(task, -1, 6);
    if (!taskType || *taskType == 0 || *taskType == 1)
        return bad("taskType", "takes -1 (none chosen) or 2 to 6, not " + Shown(task));
    s.taskType = TaskOfNumber(static_cast<int>(*taskType));

    if (const QJsonValue picture = root.value("picture"); !picture.isUndefined()) {
        const std::string name = picture.toString().toStdString();
        const PictureKindInfo* kind = FindPictureKind(name);
        if (!picture.isString() || (name != "none" && !kind))
            return bad("picture", "takes the name of a picture or \"none\", not " + Shown(picture));
        s.pictureKind = kind ? kind->tag : 0;
    }

    if (const QJsonValue tabula = root.value("tabula"); !tabula.isUndefined()) {
        if (!tabula.isObject())
            return bad("tabula", "takes an object with a width and a height, not " + Shown(tabula));
        const QJsonObject size = tabula.toObject();
        for (const char* side : {"width", "height"}) {
            const QJsonValue n = size.value(side);
            if (n.isUndefined()) return bad(std::string("tabula.") + side, "the key is missing");
            if (!Whole(n, 1, kMaxPictureSide))
                return bad(std::string("tabula.") + side,
                           Range(1, kMaxPictureSide) + ", not " + Shown(n));
            (std::string(side) == "width" ? s.width : s.height) = n.toInt();
        }
        for (auto it = size.begin(); it != size.end(); ++it)
            if (it.key() != "width" && it.key() != "height")
                warn("tabula." + it.key().toStdString());
    }

    const QJsonValue controls = root.value("controls");
    if (!controls.isObject()) return bad("controls", "takes an object, not " + Shown(controls));
    const QJsonObject values = controls.toObject();
    for (auto it = values.begin(); it != values.end(); ++it) {
        const std::string name = it.key().toStdString();
        const std::optional<Ctl> c = FindControl(name);
        if (!c) {
            warn("controls." + name);
            continue;
        }
        if (const Status put = PutControl(Spec(*c), it.value(), s.controls); !put)
            return bad("controls." + name, put.Message());
    }
    for (auto it = root.begin(); it != root.end(); ++it)
        if (!QStringList{"format", "version", "taskType", "picture", "tabula", "controls"}.contains(
                it.key()))
            warn(it.key().toStdString());
    if (warnings && unknown > kMaxSceneWarnings)
        warnings->push_back(file + ": and " + std::to_string(unknown - kMaxSceneWarnings) +
                            " more unknown keys ignored");
    return s;
}

Result<SceneState> ReadSceneFile(const std::string& path, std::vector<std::string>* warnings) {
    // Opened without waiting (a FIFO would wait for a writer) and read only when it is a
    // plain file: a device or a pipe could give bytes without end.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return Unreadable(path, errno);
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    struct stat st {};
    if (::fstat(fd, &st) != 0) return Unreadable(path, errno);
    if (S_ISDIR(st.st_mode)) return Unreadable(path, EISDIR);
    if (!S_ISREG(st.st_mode)) return Failure{path + ": not a plain file, so not a scene file"};
    const std::string cap = std::to_string(kMaxSceneFileSize / 1024) + " KiB";
    auto tooLarge = [&] {
        return Failure{path + ": larger than " + cap + ", the most a scene file may be"};
    };
    if (st.st_size > kMaxSceneFileSize) return tooLarge();
    std::string text(static_cast<size_t>(kMaxSceneFileSize) + 1, '\0');
    size_t got = 0;
    while (got < text.size()) {
        const ssize_t n = ::read(fd, text.data() + got, text.size() - got);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return Unreadable(path, errno);
        if (n == 0) break;
        got += static_cast<size_t>(n);
    }
    if (got > static_cast<size_t>(kMaxSceneFileSize)) return tooLarge();  // it grew meanwhile
    text.resize(got);
    return ParseSceneText(text, path, warnings);
}

Status WriteSceneFile(const SceneState& scene, const std::string& path) {
    return SaveTextFile(SceneFileText(scene), path);
}

}  // namespace vorla
