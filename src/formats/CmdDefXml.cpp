#include "CmdDefXml.h"

#include <QFile>
#include <QXmlStreamReader>

#include <cstdlib>

namespace {

constexpr int kMaxDepth = 8;        // Qual and Elem inside each other
constexpr int kMaxValues = 10000;   // values in one list
constexpr int kMaxParms = 1000;     // beyond what a command can hold, refused later
constexpr int kMaxAttributes = 256; // attributes of one element; a Parm has a few dozen

// Whether an element has more attributes than kMaxAttributes: counted before
// the XML reader sees the text, since it checks an element's attributes
// against each other, in time that grows with the square of their number.
bool TooManyAttributes(const QByteArray& bytes)
{
    bool bInTag = false;
    char quote = 0;
    int n = 0;
    for (char c : bytes) {
        if (quote) {
            if (c == quote)
                quote = 0;
        } else if (!bInTag) {
            if (c == '<') {
                bInTag = true;
                n = 0;
            }
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '=') {
            if (++n > kMaxAttributes)
                return true;
        } else if (c == '>') {
            bInTag = false;
        }
    }
    return false;
}

std::string Text(const QStringView& s)
{
    // The reference holds Latin-1; other characters become '?'.
    return s.toString().toLatin1().toStdString();
}

class Reader
{
public:
    explicit Reader(QXmlStreamReader& xml) : m_xml(xml) {}

    bool Read(CLCmdDefinition* pDef, std::string* pWhy)
    {
        bool bRoot = false, bCmd = false;
        while (!m_xml.atEnd()) {
            QXmlStreamReader::TokenType t = m_xml.readNext();
            if (t == QXmlStreamReader::DTD && !m_xml.entityDeclarations().isEmpty())
                return Fail("the document declares entities, which a command definition has "
                            "no use for",
                            pWhy);
            if (t == QXmlStreamReader::EntityReference)
                return Fail("the document refers to an entity", pWhy);
            if (t != QXmlStreamReader::StartElement)
                continue;
            if (!bRoot) {
                if (m_xml.name() != u"QcdCLCmd")
                    return Fail("the root element is " + Text(m_xml.name()) + ", not QcdCLCmd",
                                pWhy);
                bRoot = true;
                continue;
            }
            if (m_xml.name() == u"Cmd") {
                if (bCmd)
                    return Fail("the document holds more than one command", pWhy);
                bCmd = true;
                if (!ReadCmd(pDef, pWhy))
                    return false;
            } else {
                m_xml.skipCurrentElement();
            }
        }
        if (m_xml.hasError())
            return Fail(Text(m_xml.errorString()), pWhy);
        if (!bRoot)
            return Fail("the document is empty", pWhy);
        if (!bCmd)
            return Fail("the document holds no Cmd element", pWhy);
        return true;
    }

private:
    bool Fail(const std::string& why, std::string* pWhy)
    {
        *pWhy = "line " + std::to_string(m_xml.lineNumber()) + ": " + why;
        return false;
    }

    std::string Attr(const char* name) const
    {
        return Text(m_xml.attributes().value(QLatin1String(name)));
    }

    int Number(const char* name, int nDefault) const
    {
        std::string v = Attr(name);
        if (v.empty() || v.find_first_not_of("0123456789") != std::string::npos || v.size() > 6)
            return nDefault;
        return std::atoi(v.c_str());
    }

    bool ReadCmd(CLCmdDefinition* pDef, std::string* pWhy)
    {
        pDef->name = Attr("CmdName");
        pDef->prompt = Attr("Prompt");
        pDef->maxPos = Number("MaxPos", -1);
        while (m_xml.readNextStartElement()) {
            if (m_xml.name() != u"Parm") {
                m_xml.skipCurrentElement();
                continue;
            }
            if (pDef->parms.size() >= kMaxParms)
                return Fail("more Parm elements than a command can hold", pWhy);
            CLCmdDefParm p;
            p.keyword = Attr("Kwd");
            p.posNbr = Number("PosNbr", 0);
            p.key = Attr("KeyParm") == "YES";
            p.constant = m_xml.attributes().hasAttribute(QLatin1String("Constant"));
            if (!ReadPart(&p, 0, pWhy))
                return false;
            pDef->parms.push_back(std::move(p));
        }
        return !m_xml.hasError() || Fail(Text(m_xml.errorString()), pWhy);
    }

    // The attributes and children of a Parm, Qual or Elem, up to its end.
    bool ReadPart(CLCmdDefPart* pPart, int depth, std::string* pWhy)
    {
        if (depth > kMaxDepth)
            return Fail("Qual and Elem are nested too deeply", pWhy);
        pPart->type = Attr("Type");
        pPart->prompt = Attr("Prompt");
        pPart->dft = Attr("Dft");
        pPart->min = Number("Min", 0);
        pPart->restricted = Attr("Rstd") == "YES";
        pPart->rangeMin = Attr("RangeMinVal");
        pPart->rangeMax = Attr("RangeMaxVal");
        while (m_xml.readNextStartElement()) {
            const QStringView name = m_xml.name();
            std::vector<std::string>* pList = name == u"SngVal"   ? &pPart->singleValues
                                              : name == u"SpcVal" ? &pPart->specialValues
                                              : name == u"Values" ? &pPart->values
                                                                  : nullptr;
            if (pList) {
                if (!ReadValues(pList, pWhy))
                    return false;
            } else if (name == u"Qual" || name == u"Elem") {
                auto& parts = name == u"Qual" ? pPart->quals : pPart->elems;
                if (parts.size() >= kMaxValues)
                    return Fail("too many Qual or Elem elements", pWhy);
                parts.emplace_back();
                if (!ReadPart(&parts.back(), depth + 1, pWhy))
                    return false;
            } else {
                m_xml.skipCurrentElement(); // PmtCtl, Dep and the like
            }
        }
        return !m_xml.hasError() || Fail(Text(m_xml.errorString()), pWhy);
    }

    bool ReadValues(std::vector<std::string>* pList, std::string* pWhy)
    {
        while (m_xml.readNextStartElement()) {
            if (m_xml.name() == u"Value") {
                if (pList->size() >= kMaxValues)
                    return Fail("too many values in one list", pWhy);
                pList->push_back(Attr("Val"));
            }
            m_xml.skipCurrentElement();
        }
        return !m_xml.hasError() || Fail(Text(m_xml.errorString()), pWhy);
    }

    QXmlStreamReader& m_xml;
};

bool Read(const QByteArray& bytes, CLCmdDefinition* pDef, std::string* pWhy)
{
    *pDef = CLCmdDefinition();
    if (TooManyAttributes(bytes)) {
        *pWhy = "an element has more than " + std::to_string(kMaxAttributes) + " attributes";
        return false;
    }
    QXmlStreamReader xml(bytes);
    xml.setNamespaceProcessing(false);
    xml.setEntityExpansionLimit(0); // entities are refused anyway; expand none
    return Reader(xml).Read(pDef, pWhy);
}

} // namespace

bool CmdDefXml::ReadFile(const std::string& path, CLCmdDefinition* pDef, std::string* pWhy)
{
    QFile file(QString::fromLocal8Bit(path.c_str()));
    if (!file.open(QIODevice::ReadOnly)) {
        *pWhy = "cannot be read";
        return false;
    }
    if (file.size() > kMaxBytes) {
        *pWhy = "larger than " + std::to_string(kMaxBytes >> 20) +
                " MB, more than any command definition";
        return false;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        *pWhy = "cannot be read";
        return false;
    }
    return Read(bytes, pDef, pWhy);
}

bool CmdDefXml::ReadText(const std::string& text, CLCmdDefinition* pDef, std::string* pWhy)
{
    return Read(QByteArray::fromRawData(text.data(), static_cast<qsizetype>(text.size())), pDef,
                pWhy);
}
