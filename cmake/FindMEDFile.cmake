# Finds the MED file library (its C interface, libmedC) and the headers that
# med.h needs: HDF5's, and MPI's when that HDF5 is the parallel build, as
# Debian's libmedc is.
# Defines the imported target MEDFile::MEDFile and MEDFile_VERSION.
include(FindPackageHandleStandardArgs)

find_path(MEDFile_INCLUDE_DIR NAMES med.h)
find_library(MEDFile_LIBRARY NAMES medC)
find_path(MEDFile_HDF5_INCLUDE_DIR NAMES hdf5.h PATH_SUFFIXES hdf5/openmpi hdf5/mpich hdf5/serial)

if(MEDFile_INCLUDE_DIR AND EXISTS "${MEDFile_INCLUDE_DIR}/med.h")
  file(STRINGS "${MEDFile_INCLUDE_DIR}/med.h" _medfile_version_lines
       REGEX "#define MED_(MAJOR|MINOR|RELEASE)_NUM[ \t]+[0-9]+")
  foreach(_medfile_part MAJOR MINOR RELEASE)
    string(REGEX REPLACE ".*#define MED_${_medfile_part}_NUM[ \t]+([0-9]+).*" "\\1"
           _medfile_${_medfile_part} "${_medfile_version_lines}")
  endforeach()
  set(MEDFile_VERSION "${_medfile_MAJOR}.${_medfile_MINOR}.${_medfile_RELEASE}")
endif()

# A parallel HDF5's headers include mpi.h; only its declarations are needed.
set(_medfile_mpi_include_dirs "")
if(MEDFile_HDF5_INCLUDE_DIR AND EXISTS "${MEDFile_HDF5_INCLUDE_DIR}/H5pubconf.h")
  file(STRINGS "${MEDFile_HDF5_INCLUDE_DIR}/H5pubconf.h" _medfile_parallel_hdf5
       REGEX "#define H5_HAVE_PARALLEL[ \t]+1")
  if(_medfile_parallel_hdf5)
    set(MPI_CXX_SKIP_MPICXX ON)
    find_package(MPI QUIET COMPONENTS CXX)
    if(MPI_CXX_FOUND)
      set(_medfile_mpi_include_dirs ${MPI_CXX_INCLUDE_DIRS})
    else()
      set(MEDFile_HDF5_INCLUDE_DIR "MEDFile_HDF5_INCLUDE_DIR-NOTFOUND")
    endif()
  endif()
endif()

find_package_handle_standard_args(MEDFile
  REQUIRED_VARS MEDFile_LIBRARY MEDFile_INCLUDE_DIR MEDFile_HDF5_INCLUDE_DIR
  VERSION_VAR MEDFile_VERSION)

# UNKNOWN rather than SHARED: the library is linked privately, and an imported
# shared target would make every consumer of an installed package that links
# it look for this module again.
if(MEDFile_FOUND AND NOT TARGET MEDFile::MEDFile)
  add_library(MEDFile::MEDFile UNKNOWN IMPORTED)
  set(_medfile_include_dirs "${MEDFile_INCLUDE_DIR};${MEDFile_HDF5_INCLUDE_DIR};${_medfile_mpi_include_dirs}")
  set_target_properties(MEDFile::MEDFile PROPERTIES
    IMPORTED_LOCATION "${MEDFile_LIBRARY}"
    INTERFACE_SYSTEM_INCLUDE_DIRECTORIES "${_medfile_include_dirs}"
    INTERFACE_INCLUDE_DIRECTORIES "${_medfile_include_dirs}"
    INTERFACE_COMPILE_DEFINITIONS "OMPI_SKIP_MPICXX;MPICH_SKIP_MPICXX")
endif()
mark_as_advanced(MEDFile_INCLUDE_DIR MEDFile_LIBRARY MEDFile_HDF5_INCLUDE_DIR)
