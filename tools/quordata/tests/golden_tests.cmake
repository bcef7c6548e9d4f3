# Expected outputs live in golden/; each was checked line by line against
# the export, header and report formats when it was written.
set(QD_FILES periodic_int periodic_discrete periodic_float periodic_long periodic_ulong
    periodic_double periodic_ascii periodic_blob bigendian_double multiperiodic_float async_double)
foreach(f ${QD_FILES})
  quordata_test(export_${f} 0 OUT ${f}.export.csv ARGS export samples/${f}.quorData)
  quordata_test(info_${f} 0 OUT ${f}.info.csv ARGS info samples/${f}.quorData)
endforeach()
foreach(f legacy_little.LittleEndianZIBdata legacy_big.ZIBdata)
  quordata_test(export_${f} 0 OUT ${f}.export.csv ARGS export samples/${f})
endforeach()

quordata_test(validate_async 0 OUT async_double.validate.txt ARGS validate samples/async_double.quorData)
# A multi-periodic file has a text index, but there is no time index to check.
quordata_test(validate_multiperiodic 0 OUT periodic.validate.txt
              ARGS validate samples/multiperiodic_float.quorData)
quordata_test(validate_legacy 0 OUT periodic.validate.txt ARGS validate samples/legacy_big.ZIBdata)

# Goto texts: time text, decimal seconds, nanoseconds; pages before the first
# segment take the true times of the samples read; pages outside the data.
quordata_test(export_async_from_text 0 OUT async_from_text.csv
              ARGS export samples/async_double.quorData --from 045:12:30:05.5 --count 12)
quordata_test(export_float_from_seconds 0 OUT float_from_seconds.csv
              ARGS export samples/periodic_float.quorData --count 5 --from 3933000.0123456)
quordata_test(export_int_from_ns 0 OUT int_from_ns.csv
              ARGS export samples/periodic_int.quorData --from 3933000030000001 --count 3)
quordata_test(export_multi_before_first 0 OUT multi_before_first.csv
              ARGS export samples/multiperiodic_float.quorData --from 045:12:29:59.97 --count 30)
quordata_test(export_multi_across_gap 0 OUT multi_across_gap.csv
              ARGS export samples/multiperiodic_float.quorData --from 045:12:30:01.95 --count 110)
quordata_test(export_int_before_start 0 OUT int_before_start.csv
              ARGS export samples/periodic_int.quorData --from 045:12:29:00)
quordata_test(export_int_past_end 0 OUT int_past_end.csv
              ARGS export samples/periodic_int.quorData --from 046:00:00:00 --count 5)

# Exit statuses and messages.
quordata_test(missing_file 1 ERR missing_file.err ARGS export missing.quorData)
quordata_test(unknown_extension 1 ERR unknown_extension.err ARGS info samples/async_double.quorIndex)
quordata_test(no_arguments 2 ERR usage.err ARGS)
quordata_test(unknown_command 2 ERR usage.err ARGS show samples/periodic_int.quorData)
quordata_test(unknown_option 2 ERR usage.err ARGS export samples/periodic_int.quorData --page 5)
quordata_test(count_zero 2 ERR usage.err ARGS export samples/periodic_int.quorData --count 0)
quordata_test(count_not_number 2 ERR usage.err ARGS export samples/periodic_int.quorData --count ten)
quordata_test(option_on_info 2 ERR usage.err ARGS info samples/periodic_int.quorData --count 5)
quordata_test(two_files 2 ERR usage.err ARGS info samples/periodic_int.quorData samples/periodic_long.quorData)

# An asynchronous page before the first index time has no data.
quordata_test(export_async_before_first 0 OUT async_before_first.csv
              ARGS export samples/async_double.quorData --from 10 --count 3)

# A full disk under standard output: the export and the header listing say
# so and fail instead of ending as if all was written.
if(NOT WIN32)
  quordata_test(export_to_full_disk 1 ERR write_failed.err OUT_TO /dev/full
                ARGS export samples/periodic_int.quorData)
  quordata_test(info_to_full_disk 1 ERR write_failed.err OUT_TO /dev/full
                ARGS info samples/periodic_int.quorData)
endif()
