'use strict'

const { describe, it, before, after } = require('node:test')
const assert = require('node:assert/strict')
const net = require('node:net')
const { InstanceStatus } = require('@companion-module/base')
const { PanelClient } = require('../src/client')
const { PanelFollower } = require('../src/follow')
const { actionDefinitions, refusalText } = require('../src/actions')
const { feedbackDefinitions } = require('../src/feedbacks')
const { configProblem, hubStatus } = require('../src/config')
const { freePort, until, startPanel, startSimulator } = require('./panel')

// A client as the module runs it, with what it last told the hub.
function follow(port) {
	const client = new PanelClient({ host: '127.0.0.1', port, firstRetry_ms: 100, lastRetry_ms: 400 })
	const follower = new PanelFollower(client)
	const seen = { status: '', text: '', values: {}, logged: [] }
	client.on('status', (status, text) => Object.assign(seen, { status, text }))
	follower.on('changes', (values) => Object.assign(seen.values, values))
	client.on('refusal', (reason) => seen.logged.push(refusalText(reason)))
	const actions = actionDefinitions({ client, log: (_level, text) => seen.logged.push(text) })
	const feedbacks = feedbackDefinitions(() => follower.state)
	const run = (id, options) => actions[id].callback({ options })
	const lit = (id, options) => feedbacks[id].callback({ options })
	client.start()
	return { client, follower, seen, run, lit }
}

const settled = (hub, check) => until(hub.follower, 'changes', () => check(hub.seen.values))
const statusIs = (hub, status) => until(hub.client, 'status', () => hub.seen.status === status)
const valueOf = async (hub, parameter) => Number((await hub.client.command(`GET ${parameter}`)).text.split(' ').at(-4))

describe('a panel on its simulated units', () => {
	let panel, port, hub
	before(async () => {
		port = await freePort()
		panel = await startPanel({ port })
		hub = follow(port)
		await statusIs(hub, 'ok')
	})
	after(async () => {
		hub.client.stop()
		await panel?.stop()
	})

	it('turns, sets and presses through the panel and shows what the unit then holds', async () => {
		await settled(hub, (v) => v.online_1 === 1)
		assert.equal((await hub.run('select_unit', { unit: 1 })).ok, true)
		await settled(hub, (v) => v.unit === 1 && v.knob_1_name !== '')
		const knob = hub.follower.state.knobs[0]
		const before = await valueOf(hub, knob.parameter)
		// OK means the panel took the action; it may run once the line is free, so the value
		// is read back after the push that shows it.
		const holds = async (value) => {
			await settled(hub, (v) => v.knob_1_value === value)
			assert.equal(await valueOf(hub, knob.parameter), value)
		}
		assert.equal((await hub.run('turn', { knob: 1, delta: 3 })).ok, true)
		await holds(before + 3)

		// Detents faster than the panel's rate add up and none is lost.
		const turns = Array.from({ length: 60 }, () => hub.client.turn(1, 1))
		assert.ok((await Promise.all(turns)).every((answer) => answer.ok))
		await holds(before + 63)

		assert.equal((await hub.run('set_value', { parameter: knob.name, as: 'raw', value: '100' })).ok, true)
		await holds(100)
		assert.match(hub.lit('knob_display', { knob: 1 }).text, new RegExp(`^${knob.name}\\n`))

		assert.equal(hub.lit('unit_selected', { unit: 1 }), true)
		assert.equal(hub.lit('unit_online', { unit: 2 }), true)
		assert.equal(hub.lit('unit_online', { unit: 3 }), false)
		assert.equal(hub.lit('key_lit', { key: 'UNIT 1' }), true)
		assert.equal(hub.lit('link_lost', {}), false)
		assert.equal(hub.seen.values.online_2, 1)

		assert.equal((await hub.run('press_key', { key: 'UNIT 2' })).ok, true)
		await settled(hub, (v) => v.unit === 2)
		assert.equal(hub.lit('unit_selected', { unit: 1 }), false)

		// Refused at once, or answered OK and refused when its turn comes while unit 2 loads.
		const refused = await hub.run('set_value', { parameter: knob.name, as: 'raw', value: '99999' })
		if (refused.ok) await until(hub.client, 'refusal', () => hub.seen.logged.length > 0)
		assert.equal(hub.seen.logged.at(-1), refusalText('A raw value is one signed 16-bit word: -32768 to 32767.'))
	})

	it('finds the panel again after it restarts, forgetting what it showed meanwhile', async () => {
		await panel.stop()
		await statusIs(hub, 'closed')
		assert.equal(hub.seen.values.online_1, 0)
		await assert.rejects(hub.run('turn', { knob: 1, delta: 1 }).then((a) => (a.ok ? a : Promise.reject(a))))
		panel = await startPanel({ port })
		await statusIs(hub, 'ok')
		await settled(hub, (v) => v.online_1 === 1)
	})
})

describe('a panel that turns the module away', () => {
	it("shows the refusal of the allow-list and of read-only in the panel's words", async () => {
		const port = await freePort()
		const panel = await startPanel({ port, remote: ['AllowList=192.0.2.1', 'ReadOnly=true'] })
		const hub = follow(port)
		try {
			await statusIs(hub, 'refused')
			assert.equal(hub.seen.text, "127.0.0.1 is not on this panel's allow-list.")
			assert.deepEqual(hubStatus(hub.seen.status, hub.seen.text), [InstanceStatus.AuthenticationFailure, hub.seen.text])
		} finally {
			hub.client.stop()
			await panel.stop()
		}
		const readOnlyPort = await freePort()
		const readOnly = await startPanel({ port: readOnlyPort, remote: ['ReadOnly=true'] })
		const reader = follow(readOnlyPort)
		try {
			await statusIs(reader, 'ok')
			assert.equal((await reader.run('recall', { memory: 1 })).ok, false)
			assert.equal(reader.seen.status, 'read-only')
			assert.match(reader.seen.text, /^read-only: /)
		} finally {
			reader.client.stop()
			await readOnly.stop()
		}
		assert.notEqual(configProblem({ host: '', port: 7401 }), '')
		assert.notEqual(configProblem({ host: 'panel', port: 70000 }), '')
		assert.equal(configProblem({ host: 'panel.local', port: 7401 }), '')
	})
})

describe('a unit that changes on its own', () => {
	it('reaches the variable and the knob display', async () => {
		const simulator = await startSimulator()
		const port = await freePort()
		const panel = await startPanel({ port, line: simulator.line }).catch(async (error) => {
			await simulator.stop()
			throw error
		})
		const hub = follow(port)
		try {
			await statusIs(hub, 'ok')
			await settled(hub, (v) => v.online_1 === 1)
			await hub.run('select_unit', { unit: 1 })
			await settled(hub, (v) => v.unit === 1 && v.knob_2_name !== '')
			const knob = hub.follower.state.knobs[1]
			const value = knob.value === knob.minimum ? knob.maximum : knob.minimum
			simulator.control(`set 1 ${knob.parameter} ${value}`)
			await settled(hub, (v) => v.knob_2_value === value)
			assert.equal(hub.lit('knob_display', { knob: 2 }).text, `${knob.name}\n${hub.follower.state.knobs[1].shown}`)
		} finally {
			hub.client.stop()
			await panel.stop()
			await simulator.stop()
		}
	})
})

describe('lines that do not read', () => {
	it('are skipped and lose nothing already shown', async () => {
		const server = net.createServer((socket) => {
			socket.write('OK subscribed\nSTATE unit 2\nSTATE knob 9 1 0 "X" 1 0 1 "1"\n')
			socket.write(`STATE title "${'x'.repeat(5000)}"\nSTATE unit 7\nSTATE title "KEYER\nSTATE online 2 1\n`)
		})
		await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve))
		const hub = follow(server.address().port)
		try {
			await settled(hub, (v) => v.online_2 === 1)
			assert.equal(hub.follower.state.unit, 2)
			assert.equal(hub.follower.state.title, '')
			assert.equal(
				hub.follower.state.knobs.every((knob) => !knob.bound),
				true,
			)
		} finally {
			hub.client.stop()
			server.close()
		}
	})
})

describe('an action the panel refuses when its turn comes', () => {
	it('is answered OK and then logged with the reason, without taking the next answer', async () => {
		const server = net.createServer((socket) => {
			socket.on('data', (data) => {
				for (const line of data.toString().split('\n').filter(Boolean)) {
					if (line === 'SUBSCRIBE') socket.write('OK subscribed\n')
					else if (line.startsWith('SET')) socket.write('OK\nREFUSED Main Unit 2 is not on line.\n')
					else socket.write('OK "KEYER"\n')
				}
			})
		})
		await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve))
		const hub = follow(server.address().port)
		try {
			await statusIs(hub, 'ok')
			const [set, title] = await Promise.all([hub.client.command('SET 12 5'), hub.client.command('TITLE')])
			assert.deepEqual(
				[set, title],
				[
					{ ok: true, text: '' },
					{ ok: true, text: '"KEYER"' },
				],
			)
			assert.deepEqual(hub.seen.logged, [refusalText('Main Unit 2 is not on line.')])
		} finally {
			hub.client.stop()
			server.close()
		}
	})
})
