# The product's version has one home: the DriverVer line of the setup
# information file. The programs' version resources and code take it from
# the header made here (resources/resource.h includes it), and
# scripts/make-release.sh names the release archive after the same line.
set(SETUP_INFO_SOURCE ${CMAKE_SOURCE_DIR}/package/QLRM550.INF)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${SETUP_INFO_SOURCE})
file(STRINGS ${SETUP_INFO_SOURCE} driverVer REGEX "^DriverVer[ \t]*=")
set(versionPart "(0|[1-9][0-9]*)")
if(NOT driverVer MATCHES "^DriverVer[ \t]*=[ \t]*[0-9/]+[ \t]*,[ \t]*${versionPart}\\.${versionPart}\\.${versionPart}\\.${versionPart}[ \t\r]*$")
    message(FATAL_ERROR "${SETUP_INFO_SOURCE}: one line DriverVer=mm/dd/yyyy,w.x.y.z is needed, not '${driverVer}'")
endif()
set(PRODUCT_VERSION_NUMBERS ${CMAKE_MATCH_1} ${CMAKE_MATCH_2} ${CMAKE_MATCH_3} ${CMAKE_MATCH_4})
foreach(number ${PRODUCT_VERSION_NUMBERS})
    # Each part is a 16-bit word of the version resource.
    if(number GREATER 65535)
        message(FATAL_ERROR "${SETUP_INFO_SOURCE}: the DriverVer part ${number} is over 65535")
    endif()
endforeach()
string(REPLACE ";" "." PRODUCT_VERSION "${PRODUCT_VERSION_NUMBERS}")
string(REPLACE ";" "," PRODUCT_VERSION_NUMBERS "${PRODUCT_VERSION_NUMBERS}")
configure_file(${CMAKE_CURRENT_LIST_DIR}/product_version.h.in ${CMAKE_BINARY_DIR}/generated/product_version.h @ONLY)
include_directories(${CMAKE_BINARY_DIR}/generated)
