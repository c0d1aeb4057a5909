#pragma once
// The part of the MSXML 3.0 document object model that the program uses, as one small
// interface: MSXML through COM in the native backend, pugixml in the simulated one. Calls keep
// the DOM's names and HRESULT conventions; a node or list out-parameter is set only on success.

#include "winapi/WinTypes.h"

#include <memory>
#include <string>

namespace winapi {

class XmlNodeList;
class XmlNamedNodeMap;

class XmlNode {
public:
    XmlNode() = default;
    XmlNode(const XmlNode&) = delete;
    XmlNode& operator=(const XmlNode&) = delete;
    virtual ~XmlNode() = default;

    // The text of the node and all its descendants, joined.
    [[nodiscard]] virtual HRESULT get_text(std::wstring& text) = 0;
    // Replaces the node's children with one text node; reserved characters are escaped on save.
    [[nodiscard]] virtual HRESULT put_text(const std::wstring& text) = 0;
    [[nodiscard]] virtual HRESULT selectNodes(const std::wstring& query, std::unique_ptr<XmlNodeList>& list) = 0;
    // S_FALSE and no node when nothing matches.
    [[nodiscard]] virtual HRESULT selectSingleNode(const std::wstring& query, std::unique_ptr<XmlNode>& node) = 0;
    [[nodiscard]] virtual HRESULT get_attributes(std::unique_ptr<XmlNamedNodeMap>& attributes) = 0;
    // Moves child (an element of the same document) to the end of this node's children.
    [[nodiscard]] virtual HRESULT appendChild(XmlNode& child) = 0;
};

class XmlNodeList {
public:
    XmlNodeList() = default;
    XmlNodeList(const XmlNodeList&) = delete;
    XmlNodeList& operator=(const XmlNodeList&) = delete;
    virtual ~XmlNodeList() = default;

    [[nodiscard]] virtual HRESULT get_length(long& length) = 0;
    // S_FALSE and no node for an index past the end.
    [[nodiscard]] virtual HRESULT get_item(long index, std::unique_ptr<XmlNode>& node) = 0;
};

class XmlNamedNodeMap {
public:
    XmlNamedNodeMap() = default;
    XmlNamedNodeMap(const XmlNamedNodeMap&) = delete;
    XmlNamedNodeMap& operator=(const XmlNamedNodeMap&) = delete;
    virtual ~XmlNamedNodeMap() = default;

    [[nodiscard]] virtual HRESULT get_length(long& length) = 0;
    // The value of the attribute of that name; S_FALSE and value untouched when there is none.
    [[nodiscard]] virtual HRESULT getNamedItemValue(const std::wstring& name, std::wstring& value) = 0;
};

class XmlDocument : public XmlNode {
public:
    [[nodiscard]] virtual HRESULT put_async(bool value) = 0;
    [[nodiscard]] virtual HRESULT put_validateOnParse(bool value) = 0;
    [[nodiscard]] virtual HRESULT put_resolveExternals(bool value) = 0;
    [[nodiscard]] virtual HRESULT put_preserveWhiteSpace(bool value) = 0;

    // loaded is false (and the result S_FALSE) for a missing, unreadable or ill-formed file.
    [[nodiscard]] virtual HRESULT load(const std::wstring& path, bool& loaded) = 0;
    // After a load that failed: the parser's reason, and where it stopped (line and column count
    // from 1; 0 when the parser cannot say, as for a missing file).
    [[nodiscard]] virtual HRESULT get_parseError(long& line, long& linePosition, std::wstring& reason) = 0;
    [[nodiscard]] virtual HRESULT save(const std::wstring& path) = 0;
    [[nodiscard]] virtual HRESULT createElement(const std::wstring& tagName, std::unique_ptr<XmlNode>& element) = 0;
};

// CoCreateInstance of DOMDocument30 for IXMLDOMDocument, in-process server.
[[nodiscard]] HRESULT CreateDomDocument30(std::unique_ptr<XmlDocument>& document);

}  // namespace winapi
