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
  quordata_test(range_export_to_full_disk 1 ERR write_failed.err OUT_TO /dev/full
                ARGS export samples/periodic_int.quorData --to 045:12:30:10)
  quordata_test(envelope_to_full_disk 1 ERR write_failed.err OUT_TO /dev/full
                ARGS envelope samples/periodic_int.quorData --width 3)
  quordata_test(stats_to_full_disk 1 ERR write_failed.err OUT_TO /dev/full
                ARGS stats samples/periodic_int.quorData)
  quordata_test(validate_to_full_disk 1 ERR write_failed.err OUT_TO /dev/full
                ARGS validate samples/async_double.quorData)
endif()

# Envelope and statistics: columns across the gaps of a multi-periodic file,
# an asynchronous range typed in nanoseconds and decimal seconds, ranges the
# recording does not reach.
quordata_test(envelope_float 0 OUT envelope_float.csv ARGS envelope samples/periodic_float.quorData --width 7)
quordata_test(envelope_multi_gaps 0 OUT envelope_multi_gaps.csv
              ARGS envelope samples/multiperiodic_float.quorData --width 9 --from 045:12:29:59.99 --to 045:12:30:04)
quordata_test(envelope_async 0 OUT envelope_async.csv
              ARGS envelope samples/async_double.quorData --width 4 --from 3933005000000000 --to 3933005.1)
quordata_test(envelope_empty 0 OUT envelope_empty.csv
              ARGS envelope samples/periodic_ulong.quorData --width 3 --from 046:00:00:00)
quordata_test(stats_multi 0 OUT stats_multi.csv ARGS stats samples/multiperiodic_float.quorData)
quordata_test(stats_async 0 OUT stats_async.csv
              ARGS stats samples/async_double.quorData --from 045:12:30:05 --to 045:12:30:06)
quordata_test(stats_long 0 OUT stats_long.csv ARGS stats samples/periodic_long.quorData)
quordata_test(stats_empty 0 OUT stats_empty.csv ARGS stats samples/periodic_ulong.quorData --from 046:00:00:00)
quordata_test(stats_blob 1 ERR no_numeric_values.err ARGS stats samples/periodic_blob.quorData)
quordata_test(envelope_missing 1 ERR missing_file.err ARGS envelope missing.quorData --width 5)
quordata_test(envelope_width_zero 2 ERR usage.err ARGS envelope samples/periodic_int.quorData --width 0)
quordata_test(envelope_no_width 2 ERR usage.err ARGS envelope samples/periodic_int.quorData)
quordata_test(stats_to_before_from 2 ERR usage.err
              ARGS stats samples/periodic_int.quorData --from 045:12:30:01 --to 045:12:30:00.5)
quordata_test(stats_width 2 ERR usage.err ARGS stats samples/periodic_int.quorData --width 4)
quordata_test(export_count_and_to 2 ERR usage.err
              ARGS export samples/periodic_int.quorData --count 5 --to 045:12:31:00)

# export --to gives the bytes of --count for the same rows: these are the
# rows of the pages above, ended by the time of their last row.
quordata_test(export_to_across_gap 0 OUT multi_across_gap.csv
              ARGS export samples/multiperiodic_float.quorData --from 045:12:30:01.95 --to 3933003040000000)
quordata_test(export_to_multi_before_first 0 OUT multi_before_first.csv
              ARGS export samples/multiperiodic_float.quorData --from 045:12:29:59.97 --to 045:12:30:00.260)

# find prints the export's rows of its hits; nothing found is status 1 with
# no output. merge is one CSV on the files' common time base.
quordata_test(find_rising_last 0 OUT find_rising_last.csv
              ARGS find samples/multiperiodic_float.quorData --rising 25 --count 3 --last --to 045:12:30:07.5)
quordata_test(find_async_below 0 OUT find_async_below.csv
              ARGS find samples/async_double.quorData --below 101.5 --count 2 --from 3933000.0)
quordata_test(find_nothing 1 OUT empty.txt ARGS find samples/periodic_int.quorData --above 1e400)
quordata_test(find_two_conditions 2 ERR usage.err ARGS find samples/periodic_int.quorData --above 1 --below 2)
quordata_test(find_not_a_number 2 ERR usage.err ARGS find samples/periodic_int.quorData --above 0x10)
quordata_test(find_blob 1 ERR no_numeric_values.err ARGS find samples/periodic_blob.quorData --above 0)
quordata_test(merge_offsets 0 OUT merge_offsets.csv
              ARGS merge samples/multiperiodic_float.quorData samples/async_double.quorData samples/legacy_big.ZIBdata
                   --offset 2=-0.25 --offset 3=1500000 --from 045:12:29:59.99 --to 045:12:30:00.3)
quordata_test(merge_offset_no_file 2 ERR usage.err ARGS merge samples/periodic_int.quorData --offset 2=1.0)
quordata_test(merge_missing 1 ERR missing_file.err OUT empty.txt ARGS merge samples/periodic_int.quorData missing.quorData)
quordata_test(help 0 OUT usage.err ARGS --help)
