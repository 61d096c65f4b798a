#pragma once

#include <QJsonObject>

namespace pemo {

class CPatDoc;
class PictureStore;
struct TemplateData;

// A readable account of a document or template, for inspection from the command line.
// Texts are converted from GBK.
namespace DocumentDump {

QJsonObject document(const CPatDoc& doc, int version);
QJsonObject templateFile(const TemplateData& data);

}  // namespace DocumentDump

}  // namespace pemo
