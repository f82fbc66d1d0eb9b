// Embeds data/catalogue.jc with the assembler's .incbin, so the block is the file's bytes, unchanged,
// in the read-only data of every build (ELF natively, PE for the mingw-w64 builds).
#include "data/catalogue_block.h"

#include <cstdint>

#ifndef MIRRAVEL_CATALOGUE_BLOCK_FILE
#error "MIRRAVEL_CATALOGUE_BLOCK_FILE must name the packed catalogue (set by data/sources.cmake)"
#endif

// Assembler labels spell the symbols exactly, whatever prefix the target gives C names ("_" on i686).
extern "C" const std::uint8_t kMirravelCatalogueStart[] __asm__("mirravel_catalogue_block_start");
extern "C" const std::uint8_t kMirravelCatalogueEnd[] __asm__("mirravel_catalogue_block_end");

// COFF has no section stack: the block goes to .rdata and the assembler returns to .text, where the
// compiler leaves it before file-scope assembly.
__asm__(
#if defined(_WIN32)
    ".section .rdata,\"dr\"\n"
#else
    ".pushsection .rodata\n"
#endif
    ".balign 4\n"
    "mirravel_catalogue_block_start:\n"
    ".incbin \"" MIRRAVEL_CATALOGUE_BLOCK_FILE "\"\n"
    "mirravel_catalogue_block_end:\n"
#if defined(_WIN32)
    ".text\n"
#else
    ".popsection\n"
#endif
);

namespace mirravel {

EmbeddedBlock CatalogueBlock() {
  // Two labels, not one array: measure the distance between addresses, not between objects.
  const auto start = reinterpret_cast<std::uintptr_t>(kMirravelCatalogueStart);
  const auto end = reinterpret_cast<std::uintptr_t>(kMirravelCatalogueEnd);
  return {kMirravelCatalogueStart, static_cast<std::size_t>(end - start)};
}

}  // namespace mirravel
