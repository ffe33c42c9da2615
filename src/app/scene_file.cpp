#include "app/scene_file.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QJsonValue>
#include <QString>
#include <cmath>
#include <fstream>
#include <iterator>
#include <sstream>

#include "pictures/kinds.h"
#include "plane/image_file.h"

namespace vorla {
namespace {

constexpr const char* kFormat = "vorla-scene";
constexpr int kMaxTabulaSide = 16384;  // as the renderer's --size
constexpr std::streamsize kMaxFileSize = 1 << 20;

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

// A string as a JSON literal, quotes and escapes included.
std::string Quoted(const std::string& s) {
    const QByteArray a = QJsonDocument(QJsonArray{Q(s)}).toJson(QJsonDocument::Compact);
    return a.mid(1, a.size() - 2).toStdString();
}

// A value as the file shows it, for the messages.
std::string Shown(const QJsonValue& v) {
    if (v.isString()) return Quoted(v.toString().toStdString());
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
            if (!v.isString()) return Failure{"takes a colour text in quotes, not " + Shown(v)};
            if (const Result<Colour> c = ParseColourText(v.toString().toStdString()); !c)
                return c.ToStatus();
            return into.Set(f.name, v.toString().toStdString());
    }
    return {};
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
    auto warn = [&](const std::string& key) {
        if (warnings) warnings->push_back(file + ": unknown key " + key + " ignored");
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
        const QJsonObject size = tabula.toObject();
        for (const char* side : {"width", "height"}) {
            const std::optional<long long> n = Whole(size.value(side), 1, kMaxTabulaSide);
            if (!n)
                return bad(std::string("tabula.") + side,
                           Range(1, kMaxTabulaSide) + ", not " + Shown(size.value(side)));
            (std::string(side) == "width" ? s.width : s.height) = static_cast<int>(*n);
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
    return s;
}

Result<SceneState> ReadSceneFile(const std::string& path, std::vector<std::string>* warnings) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return Failure{path + ": cannot be opened"};
    std::string text;
    text.resize(static_cast<size_t>(kMaxFileSize) + 1);
    in.read(text.data(), kMaxFileSize + 1);
    if (in.bad()) return Failure{path + ": cannot be read"};
    if (in.gcount() > kMaxFileSize) return Failure{path + ": too large for a scene file"};
    text.resize(static_cast<size_t>(in.gcount()));
    return ParseSceneText(text, path, warnings);
}

Status WriteSceneFile(const SceneState& scene, const std::string& path) {
    return SaveTextFile(SceneFileText(scene), path);
}

}  // namespace vorla
