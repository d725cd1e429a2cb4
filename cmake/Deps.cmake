# Third-party libraries, compiled for the target from the Debian source
# packages that tools/fetch-sources.sh unpacks into the build tree.
set(ORVO_DEPS_SRC "${CMAKE_BINARY_DIR}/deps/src" CACHE PATH "Unpacked dependency sources")

function(orvo_dep_dir var pattern)
  file(GLOB found LIST_DIRECTORIES true "${ORVO_DEPS_SRC}/${pattern}")
  list(LENGTH found n)
  if(NOT n EQUAL 1)
    message(FATAL_ERROR "Dependency sources '${pattern}' not found in ${ORVO_DEPS_SRC}: run tools/bootstrap.sh first")
  endif()
  set(${var} "${found}" PARENT_SCOPE)
endfunction()

orvo_dep_dir(PUGIXML_DIR "pugixml-*")
orvo_dep_dir(LIBPNG_DIR "libpng-*")
orvo_dep_dir(LZMA_DIR "ip7z-7zip-*")
orvo_dep_dir(GTEST_DIR "googletest-*")

# Warnings of foreign code are not ours to fix.
set(ORVO_DEP_FLAGS -w)

# pugixml, wide-character build: every user sees the same setting through the interface.
add_library(pugixml STATIC "${PUGIXML_DIR}/src/pugixml.cpp")
target_compile_definitions(pugixml PUBLIC PUGIXML_WCHAR_MODE)
target_include_directories(pugixml SYSTEM PUBLIC "${PUGIXML_DIR}/src")
target_compile_options(pugixml PRIVATE ${ORVO_DEP_FLAGS})

# zlib from the MinGW package.
find_library(ZLIB_STATIC NAMES libz.a REQUIRED)
add_library(zlib INTERFACE)
target_link_libraries(zlib INTERFACE "${ZLIB_STATIC}")

# libpng over that zlib, with the stock configuration.
set(png_gen "${CMAKE_BINARY_DIR}/deps/png")
configure_file("${LIBPNG_DIR}/scripts/pnglibconf.h.prebuilt" "${png_gen}/pnglibconf.h" COPYONLY)
set(png_sources png pngerror pngget pngmem pngpread pngread pngrio pngrtran pngrutil pngset pngtrans pngwio pngwrite pngwtran pngwutil)
list(TRANSFORM png_sources PREPEND "${LIBPNG_DIR}/")
list(TRANSFORM png_sources APPEND ".c")
add_library(png STATIC ${png_sources})
target_include_directories(png SYSTEM PUBLIC "${LIBPNG_DIR}" "${png_gen}")
target_link_libraries(png PUBLIC zlib)
target_compile_options(png PRIVATE ${ORVO_DEP_FLAGS})

# The 7z decoder of the LZMA SDK: archive reading, LZMA, LZMA2, BCJ, BCJ2, ARM filters, CRC.
set(lzma_sources 7zAlloc 7zArcIn 7zBuf 7zBuf2 7zCrc 7zCrcOpt 7zDec 7zFile 7zStream
    Bcj2 Bra Bra86 BraIA64 CpuArch Delta Lzma2Dec LzmaDec)
list(TRANSFORM lzma_sources PREPEND "${LZMA_DIR}/C/")
list(TRANSFORM lzma_sources APPEND ".c")
add_library(lzma7z STATIC ${lzma_sources})
target_compile_definitions(lzma7z PUBLIC Z7_EXTRACT_ONLY)
target_include_directories(lzma7z SYSTEM PUBLIC "${LZMA_DIR}/C")
target_compile_options(lzma7z PRIVATE ${ORVO_DEP_FLAGS})

# stb_image from Debian's header package; one translation unit holds the implementation.
find_path(STB_INCLUDE_DIR stb/stb_image.h PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH REQUIRED)
add_library(stb_image STATIC "${CMAKE_CURRENT_LIST_DIR}/stb_image_impl.c")
target_include_directories(stb_image SYSTEM PUBLIC "${STB_INCLUDE_DIR}/stb")
target_include_directories(stb_image PRIVATE "${CMAKE_SOURCE_DIR}/framework")
target_compile_options(stb_image PRIVATE ${ORVO_DEP_FLAGS})

# GoogleTest and GoogleMock for the tests.
set(gt "${GTEST_DIR}/googletest")
set(gm "${GTEST_DIR}/googlemock")
add_library(gtest STATIC "${gt}/src/gtest-all.cc" "${gm}/src/gmock-all.cc")
target_include_directories(gtest SYSTEM PUBLIC "${gt}/include" "${gm}/include" PRIVATE "${gt}" "${gm}")
target_compile_options(gtest PRIVATE ${ORVO_DEP_FLAGS})
add_library(gtest_main STATIC "${gt}/src/gtest_main.cc")
target_link_libraries(gtest_main PUBLIC gtest)
target_compile_options(gtest_main PRIVATE ${ORVO_DEP_FLAGS})
