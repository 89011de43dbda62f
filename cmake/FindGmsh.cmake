# Finds the gmsh shared library and its headers, public and internal.
# Defines the imported target Gmsh::Gmsh and Gmsh_VERSION.
include(FindPackageHandleStandardArgs)

find_path(Gmsh_INCLUDE_DIR NAMES gmsh.h)
find_path(Gmsh_PRIVATE_INCLUDE_DIR NAMES GModel.h PATH_SUFFIXES gmsh)
find_library(Gmsh_LIBRARY NAMES gmsh)

if(Gmsh_PRIVATE_INCLUDE_DIR AND EXISTS "${Gmsh_PRIVATE_INCLUDE_DIR}/GmshVersion.h")
  file(STRINGS "${Gmsh_PRIVATE_INCLUDE_DIR}/GmshVersion.h" _gmsh_version_line
       REGEX "#define GMSH_VERSION[ \t]+\"[0-9.]+\"")
  string(REGEX REPLACE ".*\"([0-9.]+)\".*" "\\1" Gmsh_VERSION "${_gmsh_version_line}")
endif()

find_package_handle_standard_args(Gmsh
  REQUIRED_VARS Gmsh_LIBRARY Gmsh_INCLUDE_DIR Gmsh_PRIVATE_INCLUDE_DIR
  VERSION_VAR Gmsh_VERSION)

if(Gmsh_FOUND AND NOT TARGET Gmsh::Gmsh)
  add_library(Gmsh::Gmsh SHARED IMPORTED)
  set_target_properties(Gmsh::Gmsh PROPERTIES
    IMPORTED_LOCATION "${Gmsh_LIBRARY}"
    INTERFACE_SYSTEM_INCLUDE_DIRECTORIES "${Gmsh_INCLUDE_DIR};${Gmsh_PRIVATE_INCLUDE_DIR}"
    INTERFACE_INCLUDE_DIRECTORIES "${Gmsh_INCLUDE_DIR};${Gmsh_PRIVATE_INCLUDE_DIR}")
endif()
mark_as_advanced(Gmsh_INCLUDE_DIR Gmsh_PRIVATE_INCLUDE_DIR Gmsh_LIBRARY)
