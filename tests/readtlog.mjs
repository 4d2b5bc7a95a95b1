// Reads a telemetry log with node-mavlink, a MAVLink implementation that
// owes nothing to ours, and checks that it finds every frame: as many as
// the recorder reported, none failing its checksum or of an unknown id,
// each with a timestamp not before the last (it keeps milliseconds) and a
// payload its message tables decode.
// Usage: node readtlog.mjs LOG FRAMES
import { createReadStream } from 'node:fs'
import {
  MavLinkTLogPacketSplitter, MavLinkPacketParser, minimal, common, ardupilotmega,
} from 'node-mavlink'

const [path, expected] = process.argv.slice(2)
const registry = { ...minimal.REGISTRY, ...common.REGISTRY, ...ardupilotmega.REGISTRY }
const splitter = new MavLinkTLogPacketSplitter()
const problems = []
const ids = new Map()
let packets = 0
let lastTime = -1n

createReadStream(path).pipe(splitter).pipe(new MavLinkPacketParser())
  .on('data', packet => {
    packets++
    const { msgid, timestamp } = packet.header
    if (timestamp === null || timestamp < lastTime)
      problems.push(`packet ${packets}: timestamp ${timestamp} after ${lastTime}`)
    lastTime = timestamp ?? lastTime
    const clazz = registry[msgid]
    if (!clazz) {
      problems.push(`packet ${packets}: no message ${msgid}`)
      return
    }
    packet.protocol.data(packet.payload, clazz)
    ids.set(clazz.MSG_NAME, (ids.get(clazz.MSG_NAME) ?? 0) + 1)
  })
  .on('end', () => {
    if (packets !== Number(expected))
      problems.push(`${packets} packets read, ${expected} recorded`)
    if (splitter.invalidPackages !== 0)
      problems.push(`${splitter.invalidPackages} packets failed their checksum`)
    if (splitter.unknownPackagesCount !== 0)
      problems.push(`${splitter.unknownPackagesCount} packets of unknown ids`)
    console.log(`node-mavlink read ${packets} packets: ${JSON.stringify(Object.fromEntries(ids))}`)
    for (const problem of problems.slice(0, 20))
      console.error(problem)
    process.exit(problems.length === 0 ? 0 : 1)
  })
