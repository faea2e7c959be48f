# The printer maker's package, zipped as build/package/zdui-<version>.zip:
#   model/   the demo model's driver package folder (INF, plug-in, model files)
#   tools/   drvhost.exe (checker, emulated driver) and instprinter.exe
#   printer-makers-guide.txt
include(${CMAKE_SOURCE_DIR}/cmake/driver_folder.cmake)
set(ZD_PACKAGE_NAME zdui-${PROJECT_VERSION})
set(ZD_PACKAGE_DIR ${CMAKE_SOURCE_DIR}/build/package)
set(ZD_PACKAGE_ZIP ${ZD_PACKAGE_DIR}/${ZD_PACKAGE_NAME}.zip)
set(ZD_PACKAGE_STAGE ${CMAKE_BINARY_DIR}/stage)
set(ZD_PACKAGE_ROOT ${ZD_PACKAGE_STAGE}/${ZD_PACKAGE_NAME})
set(ZD_GUIDE ${CMAKE_SOURCE_DIR}/doc/printer-makers-guide.txt)

zd_driver_folder(package_model ${CMAKE_BINARY_DIR}/model)
add_custom_command(
    OUTPUT ${ZD_PACKAGE_ZIP}
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${ZD_PACKAGE_STAGE}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${ZD_PACKAGE_ROOT}/tools ${ZD_PACKAGE_DIR}
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_BINARY_DIR}/model ${ZD_PACKAGE_ROOT}/model
    COMMAND ${CMAKE_COMMAND} -E copy ${ZD_GUIDE} ${ZD_PACKAGE_ROOT}/
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:drvhost> $<TARGET_FILE:instprinter>
            ${ZD_PACKAGE_ROOT}/tools/
    COMMAND ${CMAKE_COMMAND} -E rm -f ${ZD_PACKAGE_ZIP}
    COMMAND ${CMAKE_COMMAND} -E chdir ${ZD_PACKAGE_STAGE} ${CMAKE_COMMAND} -E tar cf
            ${ZD_PACKAGE_ZIP} --format=zip ${ZD_PACKAGE_NAME}
    DEPENDS package_model ${CMAKE_BINARY_DIR}/model/zdcp95.inf drvhost instprinter ${ZD_GUIDE}
    COMMENT "Packaging ${ZD_PACKAGE_ZIP}")
add_custom_target(package_zip ALL DEPENDS ${ZD_PACKAGE_ZIP})

enable_testing()
add_test(NAME package_contents
         COMMAND bash ${CMAKE_SOURCE_DIR}/tests/package/package_contents_test.sh ${ZD_PACKAGE_ZIP}
                 ${PROJECT_VERSION} ${CMAKE_SOURCE_DIR}/build/wineprefix)
