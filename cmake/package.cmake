# The sample driver package, laid out in ${PACKAGE_DIR} as it ships: the two
# programs, the setup information file and the driver's files. The platform's
# Unidrv files are not ours to ship; the package gets named stand-ins.
set(PACKAGE_DIR ${CMAKE_BINARY_DIR}/package)

add_library(qlrm550 SHARED package/src/qlrm550.c package/src/qlrm550.def)
add_library(qlpproc SHARED package/src/qlpproc.c package/src/qlpproc.def)
foreach(lib qlrm550 qlpproc)
    set_target_properties(${lib} PROPERTIES PREFIX "" LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/lib
                                            RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/lib)
    target_compile_options(${lib} PRIVATE -Wall -Wextra ${HARDENING_FLAGS})
    target_link_options(${lib} PRIVATE -static ${HARDENING_LINK_FLAGS})
    target_link_libraries(${lib} PRIVATE ssp)
endforeach()
set_target_properties(qlrm550 PROPERTIES OUTPUT_NAME QLRM550 SUFFIX ".DLL")
target_link_libraries(qlpproc PRIVATE winspool)

set(UNIDRV_STAND_INS STDNAMES.GPD UNIDRV.DLL UNIDRV.HLP UNIDRVUI.DLL UNIRES.DLL)
set(STAND_IN_FILES)
foreach(name ${UNIDRV_STAND_INS})
    file(WRITE ${CMAKE_BINARY_DIR}/stand-ins/${name}
         "Stand-in for the platform's ${name}, made for tests and demonstrations only.\r\n")
    list(APPEND STAND_IN_FILES ${CMAKE_BINARY_DIR}/stand-ins/${name})
endforeach()

add_custom_target(package ALL
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PACKAGE_DIR}
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:drvsetup> $<TARGET_FILE:drvremove>
            $<TARGET_FILE:qlrm550> $<TARGET_FILE:qlpproc>
            ${CMAKE_SOURCE_DIR}/package/QLRM550.INF ${CMAKE_SOURCE_DIR}/package/QLRM550.GPD
            ${STAND_IN_FILES} ${PACKAGE_DIR}
    DEPENDS drvsetup drvremove qlrm550 qlpproc
            ${CMAKE_SOURCE_DIR}/package/QLRM550.INF ${CMAKE_SOURCE_DIR}/package/QLRM550.GPD
    VERBATIM)
