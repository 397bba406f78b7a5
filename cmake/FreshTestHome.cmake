# Empties a test executable's throw-away home before its tests run, so no test sees files that an
# earlier run left behind. Run as: cmake -DTEST_HOME=<folder> -P FreshTestHome.cmake
if(NOT TEST_HOME OR NOT TEST_HOME MATCHES "/testhome/")
  message(FATAL_ERROR "FreshTestHome.cmake: TEST_HOME must be a folder under testhome/, got '${TEST_HOME}'")
endif()
file(REMOVE_RECURSE "${TEST_HOME}")
foreach(dir IN ITEMS home config data cache tmp)
  file(MAKE_DIRECTORY "${TEST_HOME}/${dir}")
endforeach()
# Qt accepts a runtime folder only when it is private to the user.
file(MAKE_DIRECTORY "${TEST_HOME}/runtime")
file(CHMOD "${TEST_HOME}/runtime" DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
