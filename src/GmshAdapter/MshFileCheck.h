#pragma once

#include <string>

// gmsh 4.8 reads the node and element tags of a ".msh" file without looking
// at them: a negative tag, or one of 2^31 and above, is narrowed to int when
// gmsh indexes its caches (a crash, or another node or element named), and
// an element tag given twice makes two elements of one tag. Shared by the
// adapter's translation units only.
namespace Tarnel::GmshAdapter::msh {

// Whether gmsh's open reads the file as a ".msh" file: by its extension (in
// any letter case), or, for other extensions, by its first character.
bool isMshFile(const std::string& fileName);

// Fails (through `fail`, naming the file and the tag) when the file gives a
// node or element tag outside 1 to 2147483647, in a section header or on a
// node or element, or one element tag twice. One streaming pass over the
// file, in every layout gmsh 4.8 reads: MSH 1 and 4.0 in ASCII, MSH 2 and
// 4.1 in ASCII and binary. What gmsh refuses itself (an unknown version or
// element type, a file that ends early) is left to gmsh.
void checkTags(const std::string& fileName);

}  // namespace Tarnel::GmshAdapter::msh
