# The Windows API that product code links against: the simulated machine in
# native builds, the real system DLLs in the mingw builds.
add_library(platform_api INTERFACE)
if(DESKPLAN_TARGET_WINDOWS)
  target_link_libraries(platform_api INTERFACE user32 advapi32 shell32 gdi32 ole32 uuid)
else()
  target_link_libraries(platform_api INTERFACE winsim)
endif()

# product_library(<name> <sources...>): a static library of product code.
function(product_library name)
  add_library(${name} STATIC ${ARGN})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC platform_api)
endfunction()

# product_library_glob(<name> DIRS <dirs...> DEPS <libraries...>): a product
# library of every .cpp in the given folders (main.cpp excluded); a folder that
# holds no sources yet gives an interface library with the same dependencies.
function(product_library_glob name)
  cmake_parse_arguments(L "" "" "DIRS;DEPS" ${ARGN})
  set(sources)
  foreach(dir ${L_DIRS})
    file(GLOB found CONFIGURE_DEPENDS ${dir}/*.cpp)
    list(APPEND sources ${found})
  endforeach()
  list(FILTER sources EXCLUDE REGEX "/main\\.cpp$")
  if(sources)
    product_library(${name} ${sources})
    target_link_libraries(${name} PUBLIC ${L_DEPS})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE platform_api ${L_DEPS})
  endif()
endfunction()

# native_test(<name> SOURCES ... LIBS ... [INCLUDES ...]): a GoogleTest suite run against winsim.
function(native_test name)
  if(DESKPLAN_TARGET_WINDOWS)
    return()
  endif()
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;INCLUDES" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_include_directories(${name} PRIVATE ${T_INCLUDES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} winsim_control GTest::gtest GTest::gtest_main)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES LABELS native)
endfunction()
