# The spooler's, SetupAPI's and the shell's libraries are loaded when first
# called, from the system directory only (common/system_dlls.cpp): their
# delay-load import libraries stand where the usual import libraries would.
find_program(MINGW_DLLTOOL x86_64-w64-mingw32-dlltool REQUIRED)
find_program(MINGW_NM x86_64-w64-mingw32-nm REQUIRED)

function(add_delay_import_library name dll)
    find_library(${name}_IMPORT_LIBRARY ${name} REQUIRED)
    set(def ${CMAKE_BINARY_DIR}/delayload/${name}.def)
    set(lib ${CMAKE_BINARY_DIR}/delayload/lib${name}_delay.a)
    add_custom_command(OUTPUT ${lib}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/delayload
        COMMAND sh ${CMAKE_SOURCE_DIR}/cmake/make-delay-lib.sh ${MINGW_NM} ${MINGW_DLLTOOL}
                ${${name}_IMPORT_LIBRARY} ${dll} ${def} ${lib}
        DEPENDS ${CMAKE_SOURCE_DIR}/cmake/make-delay-lib.sh
        VERBATIM)
    add_custom_target(${name}_delay_library DEPENDS ${lib})
    add_library(${name}_delay STATIC IMPORTED GLOBAL)
    set_target_properties(${name}_delay PROPERTIES IMPORTED_LOCATION ${lib})
endfunction()

add_delay_import_library(winspool WINSPOOL.DRV)
add_delay_import_library(setupapi SETUPAPI.dll)
add_delay_import_library(shell32 SHELL32.dll)
