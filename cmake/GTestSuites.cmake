# Registers a GoogleTest program in ctest once per test suite. A crash then ends only the suite
# it happens in, and each suite costs one start of the program, which under Wine is about a
# second: one per test would cost minutes.
#
# The suites are read from the program's sources (TEST, TEST_F and TEST_P). A last entry,
# <target>.unlisted, runs whatever tests no suite entry names, so a suite that the reading
# misses, or one added since the last configure, still runs.
function(add_gtest_suites target)
  get_target_property(sources ${target} SOURCES)
  get_target_property(source_dir ${target} SOURCE_DIR)
  set(suites)
  foreach(source IN LISTS sources)
    if(NOT source MATCHES "\\.cpp$")
      continue()
    endif()
    if(NOT IS_ABSOLUTE "${source}")
      set(source "${source_dir}/${source}")
    endif()
    file(READ "${source}" text)
    string(REGEX MATCHALL "(^|[^A-Za-z0-9_])TEST(_F|_P)?\\([ \t\r\n]*[A-Za-z_][A-Za-z0-9_]*[ \t\r\n]*," found "${text}")
    foreach(match IN LISTS found)
      string(REGEX REPLACE ".*TEST(_F|_P)?\\([ \t\r\n]*([A-Za-z_][A-Za-z0-9_]*).*" "\\2" suite "${match}")
      list(APPEND suites ${suite})
    endforeach()
  endforeach()
  list(REMOVE_DUPLICATES suites)
  list(SORT suites)

  set(named)
  foreach(suite IN LISTS suites)
    # A parameterised suite's tests are named Instance/Suite.Test/Index.
    set(filter "${suite}.*:*/${suite}.*")
    add_test(NAME ${target}.${suite} COMMAND ${target} --gtest_filter=${filter})
    list(APPEND named "${filter}")
  endforeach()
  list(JOIN named ":" named)
  add_test(NAME ${target}.unlisted COMMAND ${target} --gtest_filter=-${named})
endfunction()
