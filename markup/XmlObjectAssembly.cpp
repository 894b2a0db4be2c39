#include "markup/Xmlnode.h"

#include <cstring>
#include <string>

#include "platform/BlockPool.h"

#include "markup/RecordLayout.h"

// The raw text is written first; the pieces are then taken from it, where a
// parse of that text would find them.
void CXmlObject::SetEmptyElement(
    std::string_view name,
    std::initializer_list<std::pair<std::string_view, std::string_view>> attributes)
{
    NoteChange();
    thread_local std::string text;
    text.assign(1, '<').append(name);
    for (const auto& [attribute, value] : attributes)
        text.append(1, ' ').append(attribute).append("=\"").append(value).append(1, '"');
    text.append("/>");
    std::vector<CAttributePieces>& pieces = ScratchAttributes();
    size_t at = 1 + name.size();
    for (const auto& [attribute, value] : attributes) {
        const CPiece attributePiece = {text.data() + at + 1, attribute.size()};
        at += 1 + attribute.size() + 2;
        pieces.push_back({attributePiece, {text.data() + at, value.size()}});
        at += value.size() + 1;
    }
    SetFlag(HasTextFlag, true);
    SetFlag(HasNameFlag, true);
    SetKind(KindOf(text.data(), text.size()));
    Assemble({text.data(), text.size()}, {text.data() + 1, name.size()}, pieces.data(),
             pieces.size());
    NoteName();
}

void CXmlObject::CopyFrom(const CXmlObject& other)
{
    if (&other == this) return;
    NoteChange();
    ReleaseBlock();
    memcpy(Storage, other.Storage, sizeof Storage);
    if (!other.IsInline() && other.Block() != nullptr) {
        const size_t size = other.Word(0);
        char* block = AllocateRecordBlock(size);
        memcpy(block, other.Block(), size);
        memcpy(Storage, &block, sizeof block);
    }
    Layout = other.Layout;
    Bits = static_cast<uint8_t>((other.Bits & ~InNodeFlag) | (Bits & InNodeFlag));
    NameCode = other.NameCode;
}
