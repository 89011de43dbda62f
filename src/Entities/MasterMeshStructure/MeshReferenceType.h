#pragma once

namespace Tarnel {

enum MeshReferenceType : int { UNDEFINED = 0, ELEMENT_SET = 1, NODE_SET = 2, MIXED_SET = 3 };

}  // namespace Tarnel
