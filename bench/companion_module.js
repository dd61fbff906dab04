#!/usr/bin/env node
'use strict'
// The hub module measured on the real clock, with vcp offscreen on vcp-sim's units over TCP
// and a relay on that line that sees every byte the panel sends and receives:
//  - an action (the module's TURN) to the first byte of the knob's request on the line;
//  - a unit's own change (vcp-sim's `set`) to the module's variable, from the set and from
//    the unit's answer that carried the new value to the panel, beside the push interval;
//  - the module's CPU and memory (its client and follower in a process of their own) with
//    8 encoders turning 50 detents a second.
// Run after scripts/build.sh vcp vcp-sim and npm ci in companion/:
//   node bench/companion_module.js [SAMPLES] [LOAD_SECONDS]
const { fork } = require('node:child_process')
const net = require('node:net')
const path = require('node:path')
const { performance } = require('node:perf_hooks')
const { PanelClient } = require('../companion/src/client')
const { PanelFollower } = require('../companion/src/follow')
const { freePort, until, startPanel, startSimulator } = require('../companion/test/panel')

const kAdjustParameter = 0x81
const kSetParameter = 0xa8
const kPushInterval_ms = 1000 / 30
const kFramePause_ms = 20

const pause = (ms) => new Promise((resolve) => setTimeout(resolve, ms))

function quantile(samples, q) {
	const sorted = [...samples].sort((a, b) => a - b)
	return sorted[Math.min(sorted.length - 1, Math.max(0, Math.ceil(q * sorted.length) - 1))] ?? NaN
}

function report(what, samples) {
	const f = (x) => x.toFixed(1).padStart(7)
	console.log(
		`${what.padEnd(44)} p50 ${f(quantile(samples, 0.5))} ms  p95 ${f(quantile(samples, 0.95))} ms  max ${f(quantile(samples, 1))} ms  (${samples.length} samples)`,
	)
}

// A relay between the panel and vcp-sim that frames what the panel sends (address, length,
// payload, checksum) and keeps when each chunk the units sent arrived.
async function startRelay(target) {
	const [host, port] = target.replace('tcp://', '').split(':')
	const relay = { knobRequestAt: [], answers: [] }
	let position = 0
	let length = 0
	let frameStart = 0
	let lastSent = 0
	const server = net.createServer((panel) => {
		const units = net.connect(Number(port), host)
		panel.setNoDelay(true)
		units.setNoDelay(true)
		panel.on('data', (chunk) => {
			const now = performance.now()
			units.write(chunk)
			if (position > 0 && now - lastSent > kFramePause_ms) position = 0
			lastSent = now
			for (const byte of chunk) {
				if (position === 0) frameStart = now
				if (position === 1) length = byte
				if (position === 2 && (byte === kAdjustParameter || byte === kSetParameter)) {
					relay.knobRequestAt.push(frameStart)
				}
				position++
				if (position >= 2 && position >= length + 3) position = 0
			}
		})
		units.on('data', (chunk) => {
			relay.answers.push({ at: performance.now(), bytes: chunk })
			if (relay.answers.length > 4096) relay.answers.splice(0, 2048)
			panel.write(chunk)
		})
		panel.on('close', () => units.destroy())
		units.on('close', () => panel.destroy())
		panel.on('error', () => units.destroy())
		units.on('error', () => panel.destroy())
	})
	await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve))
	relay.line = `tcp://127.0.0.1:${server.address().port}`
	relay.close = () => server.close()
	return relay
}

async function measure(samples, loadSeconds) {
	const simulator = await startSimulator()
	const relay = await startRelay(simulator.line)
	const port = await freePort()
	const panel = await startPanel({ port, line: relay.line })
	const client = new PanelClient({ host: '127.0.0.1', port })
	const follower = new PanelFollower(client)
	const values = {}
	let changedAt = new Map()
	follower.on('changes', (changed) => {
		const now = performance.now()
		for (const [id, value] of Object.entries(changed)) {
			values[id] = value
			changedAt.set(id, now)
		}
	})
	const settled = (check, limit_ms = 15000) => until(follower, 'changes', () => check(values), limit_ms)
	try {
		client.start()
		await until(client, 'status', (state) => state === 'ok')
		await settled((v) => v.online_1 === 1)
		await client.command('UNIT 1')
		await settled((v) => v.unit === 1 && v.knob_1_name !== '')

		const toRequest = []
		let missed = 0
		for (let i = 0; i < samples; i++) {
			await pause(20 + Math.random() * 100)
			const seen = relay.knobRequestAt.length
			const asked = performance.now()
			await client.turn(1, i % 2 === 0 ? 1 : -1)
			try {
				const deadline = performance.now() + 2000
				while (relay.knobRequestAt.length === seen && performance.now() < deadline) await pause(1)
				if (relay.knobRequestAt.length === seen) throw new Error('none')
				toRequest.push(relay.knobRequestAt[seen] - asked)
			} catch {
				missed++
			}
		}
		report('action to the first request byte', toRequest)
		if (missed) console.log(`  ${missed} actions sent nothing within 2 s`)

		const knob = follower.state.knobs[1]
		const fromSet = []
		const fromAnswer = []
		const fromPush = []
		let pushedAt = 0
		client.on('state', (words) => {
			if (words[0] === 'knob' && words[1] === '2') pushedAt = performance.now()
		})
		for (let i = 0; i < Math.min(samples, 40); i++) {
			const value = knob.minimum + 1 + ((i * 37) % (knob.maximum - knob.minimum - 1))
			if (value === values.knob_2_value) continue
			changedAt = new Map()
			const set = performance.now()
			simulator.control(`set 1 ${knob.parameter} ${value}`)
			await settled((v) => v.knob_2_value === value)
			const shown = changedAt.get('knob_2_value')
			fromSet.push(shown - set)
			// The last answer since the set that holds the value's two bytes brought it.
			const word = [value >> 8, value & 0xff]
			const carrier = relay.answers.findLast((answer) => {
				if (answer.at < set) return false
				for (let b = 0; b + 1 < answer.bytes.length; b++) {
					const pair = [answer.bytes[b], answer.bytes[b + 1]]
					if ((pair[0] === word[0] && pair[1] === word[1]) || (pair[0] === word[1] && pair[1] === word[0])) return true
				}
				return false
			})
			if (carrier && carrier.at <= shown) fromAnswer.push(shown - carrier.at)
			fromPush.push(shown - pushedAt)
			await pause(50 + Math.random() * 50)
		}
		report("a unit's own change, from the set", fromSet)
		report('  from its answer reaching the panel', fromAnswer)
		report('  from its push reaching the module', fromPush)
		console.log(`  (the panel pushes at most every ${kPushInterval_ms.toFixed(1)} ms)`)
		client.stop()

		const load = fork(__filename, ['--load', String(port), String(loadSeconds)])
		const [result] = await until(load, 'message', (message) => message !== undefined, (loadSeconds + 30) * 1000)
		console.log(
			`8 encoders at 50 detents/s for ${loadSeconds} s: CPU ${result.cpuShare.toFixed(1)}% of a core, ` +
				`resident ${result.rss_MiB.toFixed(1)} MiB (heap ${result.heap_MiB.toFixed(1)} MiB), ` +
				`${result.detents} detents in ${result.commands} TURNs, ${result.refused} refused, ${result.failed} failed`,
		)
	} finally {
		client.stop()
		await panel.stop()
		relay.close()
		await simulator.stop()
	}
}

// The module's own work under load, alone in this process: 8 encoders each sending a detent
// every 20 ms, their turns up and down so the knobs stay within range.
async function load(port, seconds) {
	const client = new PanelClient({ host: '127.0.0.1', port })
	const follower = new PanelFollower(client)
	follower.on('changes', () => {})
	client.start()
	await until(client, 'status', (state) => state === 'ok')
	await pause(500)
	let commands = 0
	const write = client.socket.write.bind(client.socket)
	client.socket.write = (line) => {
		commands++
		return write(line)
	}
	let detents = 0
	let refused = 0
	let failed = 0
	const cpu = process.cpuUsage()
	const started = performance.now()
	let tick = 0
	const timer = setInterval(() => {
		const direction = Math.floor(tick++ / 25) % 2 === 0 ? 1 : -1
		for (let knob = 1; knob <= 8; knob++) {
			detents++
			client.turn(knob, direction).then(
				(answer) => {
					if (!answer.ok) refused++
				},
				() => failed++,
			)
		}
	}, 20)
	await pause(seconds * 1000)
	clearInterval(timer)
	await pause(500)
	const used = process.cpuUsage(cpu)
	const elapsed_ms = performance.now() - started
	const memory = process.memoryUsage()
	client.stop()
	process.send({
		cpuShare: ((used.user + used.system) / 1000 / elapsed_ms) * 100,
		rss_MiB: memory.rss / 2 ** 20,
		heap_MiB: memory.heapUsed / 2 ** 20,
		detents,
		commands,
		refused,
		failed,
	})
	process.exit(0)
}

if (process.argv[2] === '--load') {
	load(Number(process.argv[3]), Number(process.argv[4]))
} else {
	measure(Number(process.argv[2] ?? 100), Number(process.argv[3] ?? 10)).catch((error) => {
		console.error(error)
		process.exit(1)
	})
}
