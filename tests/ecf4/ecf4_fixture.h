#pragma once

#include "ecf4/cf4_form.h"

#include <QByteArray>
#include <QMap>
#include <QString>

#include <vector>

namespace vantik::test {

/// A CF4 that PhilHealth's rules take as it is: every check starts from it and
/// breaks one thing. The patient's names carry "ñ" and an apostrophe.
ecf4::Cf4Form completeForm();

/// An element of a CF4 document as QXmlStreamReader reads it, for checking
/// documents with a reader that is not their writer.
struct XmlElement {
    QString name;
    QMap<QString, QString> attributes;
};
/// Every element in document order; fails the test when the bytes are not XML.
std::vector<XmlElement> readElements(const QByteArray& document);
/// The elements of that name.
std::vector<XmlElement> elementsNamed(const std::vector<XmlElement>& all, const QString& name);

/// The DTD in the source tree, as shipped.
QString sourceDtdPath();

} // namespace vantik::test
