// The XML document layer: a small DOM with the failure behaviour the writers rely on. Every
// operation on an absent document or node raises DocumentError with kInvalidPointer. The writers
// take their documents from CreateDomDocument, in whose place a test puts a factory of its own
// (DocumentFactoryScope) to have no document at all, or documents whose operations fail.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "document/document_error.h"

namespace pugi {
struct xml_node_struct;
class xml_document;
}  // namespace pugi

namespace kegverter {

/// A reference to a node of a DomDocument; default-constructed it is absent. A node of a record
/// being streamed (DomDocument::StreamChildren) is its place in that record and the record's
/// number, which keeps it from being taken for a node of a later record.
class DomNode {
 public:
  DomNode() = default;
  explicit DomNode(pugi::xml_node_struct* node) : node_(node) {}
  DomNode(std::uint32_t record, std::uint32_t index) : index_(index), record_(record) {}
  bool present() const { return node_ != nullptr || record_ != 0; }
  pugi::xml_node_struct* get() const { return node_; }
  bool streamed() const { return record_ != 0; }
  std::uint32_t record() const { return record_; }
  std::uint32_t index() const { return index_; }
  friend bool operator==(DomNode, DomNode) = default;

 private:
  pugi::xml_node_struct* node_ = nullptr;
  std::uint32_t index_ = 0;
  std::uint32_t record_ = 0;  ///< records are numbered from 1
};

class DomDocument {
 public:
  DomDocument();
  virtual ~DomDocument();
  DomDocument(const DomDocument&) = delete;
  DomDocument& operator=(const DomDocument&) = delete;

  /// The document node itself.
  DomNode DocumentNode() const;

  /// Replaces the content by the parsed text; false (content empty) when it is not well-formed.
  bool LoadXml(std::string_view text);

  /// First element of that name in document order; absent when there is none.
  DomNode FirstElementByTagName(std::string_view name) const;

  /// Node operations. Each raises kInvalidPointer when the node it works on is absent. A document
  /// holds one root element: a second one, or text or attributes on the document node, raise
  /// kUnspecifiedError.
  DomNode AppendElement(DomNode parent, std::string_view name);
  DomNode ParentNode(DomNode node);
  void SetAttribute(DomNode element, std::string_view name, std::string_view value);
  void AppendText(DomNode element, std::string_view value);

  /// The document as UTF-8 text: declaration, one element per line, indented.
  std::string Serialize() const;
  /// The same text handed to `sink` piece by piece, in order, so that a large document need not
  /// be held twice.
  void Serialize(const std::function<void(std::string_view)>& sink) const;

  using Sink = std::function<void(std::string_view)>;

  /// Writes a long list out while it grows, so that the whole list is never held: each time an
  /// element is appended to `container`, the elements it already holds are finished. They go to
  /// `sink` (after the text that precedes them in the document, the first time) and are dropped
  /// from the document; a node of them used afterwards is absent. `container` must hold elements
  /// only, and the text before it must not change while it streams. SerializeRest ends it.
  ///
  /// Each record (an element appended to `container`, with everything below it) is built
  /// outside the DOM, in a RecordTree, and printed as the DOM would print it: a list costs no
  /// more than writing its text. Serialize does not see the records while the list streams.
  void StreamChildren(DomNode container, Sink sink);

  /// Writes to `sink` what streaming has not written yet: the whole document when no child was
  /// streamed, else the text after the streamed children, so that the two together are exactly
  /// what Serialize would have written. False, with nothing written, when the rules of
  /// StreamChildren were broken and the two would not fit together.
  bool SerializeRest(const Sink& sink);

 protected:
  /// Called at the start of every node operation; what it raises, the operation raises. Nothing
  /// here: a test's document overrides it to fail where it wants.
  virtual void BeforeOperation() {}

 private:
  struct Stream;

  /// The record's index of a streamed node; raises kInvalidPointer for a node of a record
  /// already written.
  std::uint32_t Streamed(DomNode node) const;
  /// Finishes the elements the streamed list holds so far and begins a new record.
  void StartRecord();
  /// Writes the text before the list, once, and the list's elements that are in the DOM.
  void StartStream();
  void WriteRecord();

  std::unique_ptr<pugi::xml_document> document_;
  std::unique_ptr<Stream> stream_;
};

/// Makes the documents the writers write. The document layer's own makes a DomDocument; a test
/// puts another in place (DocumentFactoryScope) to simulate failures of the document layer.
class DocumentFactory {
 public:
  DocumentFactory() = default;
  virtual ~DocumentFactory() = default;
  DocumentFactory(const DocumentFactory&) = delete;
  DocumentFactory& operator=(const DocumentFactory&) = delete;

  /// A new document; null when no document is available.
  virtual std::unique_ptr<DomDocument> Create() const = 0;
};

/// Creates a document with the factory in place on this thread: the document layer's own unless
/// a DocumentFactoryScope says otherwise. Null when no document is available.
std::unique_ptr<DomDocument> CreateDomDocument();

/// Puts `factory` in place of the one CreateDomDocument uses on this thread, for as long as the
/// scope lives; the factory before it comes back when it ends. Nothing but a test does this:
/// conversions on other threads, and all of them outside a scope, use the document layer's own.
class DocumentFactoryScope {
 public:
  explicit DocumentFactoryScope(const DocumentFactory& factory);
  ~DocumentFactoryScope();
  DocumentFactoryScope(const DocumentFactoryScope&) = delete;
  DocumentFactoryScope& operator=(const DocumentFactoryScope&) = delete;

 private:
  const DocumentFactory* previous_;
};

}  // namespace kegverter
